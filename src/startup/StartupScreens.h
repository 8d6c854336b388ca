#pragma once

#include "startup/ProgramVersion.h"

#include <QString>

namespace vcm {

/// The screens start-up drives. The program wires them to its windows; tests record the
/// calls. Start-up never touches a widget itself, so the sequence runs without a display.
class StartupScreens {
public:
  virtual ~StartupScreens() = default;

  /// Shows the loading screen 메인_로딩중 without waiting (again, when already shown).
  virtual void showLoading() = 0;

  /// Unloads the loading screen; nothing happens when it is not shown.
  virtual void unloadLoading() = 0;

  /// Shows the login screen 로그인 without waiting.
  virtual void showLogin() = 0;

  /// Opens the update screen 업데이트다운로드 modally; the installer size is in
  /// Session.UpdateFileSize. The screen normally ends the process itself.
  virtual void showUpdate() = 0;

  /// The version compared with the published one.
  virtual QString programVersion() const { return programVersionText(); }
};

} // namespace vcm
