#include "login/ShowLogin.h"

#include "login/LoginScreen.h"
#include "platform/Ui.h"

namespace vcm {

void showLoginScreen()
{
  auto* screen = new LoginScreen;
  screen->setAttribute(Qt::WA_DeleteOnClose);
  const QSize area = ui().screenSize();
  const QSize own = screen->frameGeometry().size();
  screen->move((area.width() - own.width()) / 2, (area.height() - own.height()) / 2);
  screen->show();
}

} // namespace vcm
