#pragma once

#include "startup/StartupScreens.h"

#include <QPointer>

namespace vcm {

class LoadingScreen;

/// The program's windows behind start-up: the loading screen, the login screen and the
/// hand-over to the update screen.
class AppStartupScreens : public StartupScreens {
public:
  ~AppStartupScreens() override;

  void showLoading() override;
  void unloadLoading() override;
  void showLogin() override;
  void showUpdate() override;

private:
  QPointer<LoadingScreen> m_loading;
};

} // namespace vcm
