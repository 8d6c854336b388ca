#include "app/AppStartupScreens.h"

#include "update/LoadingScreen.h"
#include "update/UpdateHandOver.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vcm {

namespace {

/// Stands in for the login screen until that screen joins the program: a window named
/// 로그인 that ends the program when closed.
void showPlainLoginWindow()
{
  auto* window = new QWidget;
  window->setObjectName(QStringLiteral("로그인"));
  window->setWindowTitle(QStringLiteral("로그인"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(new QLabel(QStringLiteral("[베트라Care]"), window));
  window->resize(320, 160);
  window->show();
}

} // namespace

AppStartupScreens::~AppStartupScreens() { delete m_loading.data(); }

void AppStartupScreens::showLoading()
{
  if (!m_loading)
    m_loading = new LoadingScreen;
  m_loading->show();
  m_loading->raise();
}

void AppStartupScreens::unloadLoading()
{
  delete m_loading.data();
}

void AppStartupScreens::showLogin() { showPlainLoginWindow(); }

void AppStartupScreens::showUpdate() { openUpdateScreen(); }

} // namespace vcm
