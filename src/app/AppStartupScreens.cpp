#include "app/AppStartupScreens.h"

#include "login/ShowLogin.h"
#include "update/LoadingScreen.h"
#include "update/UpdateHandOver.h"

namespace vcm {

AppStartupScreens::~AppStartupScreens() { delete m_loading.data(); }

void AppStartupScreens::showLoading()
{
  if (!m_loading)
    m_loading = new LoadingScreen;
  m_loading->show();
}

void AppStartupScreens::unloadLoading()
{
  delete m_loading.data();
}

void AppStartupScreens::showLogin() { showLoginScreen(); }

void AppStartupScreens::showUpdate() { openUpdateScreen(); }

} // namespace vcm
