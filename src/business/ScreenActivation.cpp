#include "business/ScreenActivation.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

namespace vcm {

ScreenActivation::ScreenActivation(QWidget* screen, std::function<void()> onActivate)
    : QObject(screen), m_screen(screen), m_onActivate(std::move(onActivate))
{
  screen->installEventFilter(this);
  connect(qApp, &QGuiApplication::focusWindowChanged, this,
          [this](QWindow* window) { focusWindowChanged(window); });
}

void ScreenActivation::focusWindowChanged(QWindow* window)
{
  if (!window)
    return;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() != window)
      continue;
    const Qt::WindowType type = top->windowType();
    if (top != m_screen && type != Qt::Popup && type != Qt::ToolTip &&
        !qobject_cast<QMessageBox*>(top))
      m_pending = true;
    return;
  }
}

bool ScreenActivation::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == m_screen && event->type() == QEvent::WindowActivate && m_pending) {
    m_pending = false;
    m_onActivate();
  }
  return QObject::eventFilter(watched, event);
}

} // namespace vcm
