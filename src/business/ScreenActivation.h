#pragma once

#include <QObject>

#include <functional>

class QWidget;
class QWindow;

namespace vcm {

/// Calls `onActivate` when `screen` becomes the active window: the first time and each
/// time it takes over from another screen of the program. A message box, a pop-up menu
/// or another program handing the activation back is no new activation; otherwise a
/// notice shown while loading would start the load again.
class ScreenActivation : public QObject {
public:
  ScreenActivation(QWidget* screen, std::function<void()> onActivate);

  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void focusWindowChanged(QWindow* window);

  QWidget* m_screen;
  std::function<void()> m_onActivate;
  bool m_pending = true;
};

} // namespace vcm
