#pragma once

#include "ledger/LedgerHost.h"

#include "mainwindow/MainWindow.h"

#include <QPointer>

#include <array>

namespace vcm {

class MainWindow;

/// The ledger's host on screen: the real main window's work buttons and quick bar.
/// Without a main window (the screen shown on its own) the buttons are kept here.
class MainWindowHost : public LedgerHost {
public:
  explicit MainWindowHost(MainWindow* main) : m_main(main) {}

  QString workTag(int index) const override;
  void setWorkTag(int index, const QString& tag) override;
  void setWorkEnabled(int index, bool enabled) override;
  void setWorkPictures(int index, int picture, int secondPicture) override;
  void showWorkButtons(const QString& flags) override;
  void settingQuickButton(const QString& screenName) override;
  void removeQuickButton(const QString& screenName) override;

  MainWindow* main() const { return m_main; }

private:
  QPointer<MainWindow> m_main;
  std::array<QString, 9> m_tags; ///< used only without a main window
};

} // namespace vcm
