#pragma once

#include "platform/Ui.h"

namespace vcm {

/// The program's Ui: QMessageBox with Korean buttons, override cursor, QFileDialog, QScreen.
class QtUi : public Ui {
public:
  Answer message(const QString& text, const QString& title, Icon icon,
                 Buttons buttons = Buttons::Ok) override;
  void setCursor(Cursor cursor) override;
  void pumpEvents() override;
  void pause(int ms) override;
  void beginNetworkWait() override;
  void networkIdle() override;
  void endNetworkWait() override;
  QStringList openFileNames(const QString& title, const QString& filter, bool multiple) override;
  QString saveFileName(const QString& title, const QString& filter,
                       const QString& proposedName) override;
  QSize screenSize() const override;
  double screenDpi() const override;
  bool capsLockOn() const override;
  bool shiftDown() const override;
  QString inputText(const QString& prompt, const QString& title, const QString& preset) override;
  bool startProgram(const QString& path) override;
  [[noreturn]] void endProcess(int code = 0) override;

private:
  int m_networkWaitDepth = 0;
  class InputDropper* m_dropper = nullptr;
};

} // namespace vcm
