#include "startup/Main.h"

#include "common/ErrMsg.h"
#include "common/MainConn.h"
#include "common/Regist.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/TextHelpers.h"
#include "platform/Paths.h"
#include "platform/Ui.h"
#include "startup/AccessRegistration.h"
#include "startup/Secrets.h"
#include "startup/SingleInstance.h"
#include "startup/StartupScreens.h"
#include "startup/VersionCheck.h"

#include <QDir>

namespace vcm {

namespace {

const QString kRefusalMark = QStringLiteral("ALLOWED TO CONNECT TO THIS MYSQL SERVER");

double checkSetting(const QString& name)
{
  return settingNumber(Reg_GetString(HKEY_CURRENT_USER_ROOT, SettingsKey + QStringLiteral("Chk"), name));
}

void admitThisComputer()
{
  if (checkSetting(QStringLiteral("chk_IP_List")) != 1.0)
    g_Send_IP();
}

void showLoadingScreen(StartupScreens& screens)
{
  screens.showLoading();
  ui().setCursor(Cursor::Hourglass);
  ui().pumpEvents();
}

/// An address ending in 3 is the third server; a start against it must be confirmed.
void confirmThirdServer()
{
  const QString last = Session.ServerAddress.right(1);
  if (settingNumber(last) == 3.0 &&
      notice(QString::fromUtf8(startup::kThirdServerQuestion), Icon::Question, Buttons::YesNo) ==
          Answer::No)
    ui().endProcess(0);
}

void openDatabase(StartupScreens& screens)
{
  Session.ConnectionString = buildConnectionString();
  g_Open_MainConn();
  screens.unloadLoading();
  ui().setCursor(Cursor::Hourglass);
  ui().pumpEvents();
}

/// Shows the login screen, or hands over to the update screen when the published
/// version differs. The update screen normally ends the process; should it return, the
/// login screen stays unshown.
void checkVersion(StartupScreens& screens, std::unique_ptr<RecordSet>& rs)
{
  if (checkSetting(QStringLiteral("Update_Div")) != 1.0) {
    Session.SqlText = QStringLiteral("SELECT * FROM M_VERSION_INFO_VETRA_MEMBER");
    rs = openRecordSet(Session.SqlText);
    rs->moveFirst();
    if (updateDue(rs->value(QStringLiteral("VETRA_MEMBER_V")), screens.programVersion())) {
      Session.UpdateFileSize = installerSize(rs->value(QStringLiteral("FILE_SIZE")));
      screens.showUpdate();
      return;
    }
  }
  screens.showLogin();
}

void readServerDate(std::unique_ptr<RecordSet>& rs)
{
  Session.SqlText = QStringLiteral("SELECT NOW() AS NOWDT");
  rs = openRecordSet(Session.SqlText);
  rs->moveFirst();
  Session.ServerDate = serverDateText(rs->value(QStringLiteral("NOWDT")));
  ui().pumpEvents();
}

/// Steps from the secrets on; the refused-address retry runs them again.
void runFromSecrets(StartupScreens& screens, std::unique_ptr<RecordSet>& rs)
{
  buildSecrets();
  // Nothing to register for the database driver: the MySQL client library is built in.
  admitThisComputer();
  showLoadingScreen(screens);
  confirmThirdServer();
  openDatabase(screens);
  checkVersion(screens, rs);
  readServerDate(rs);
}

/// The error path. True when the sequence is to run again: the server refused this
/// computer's address for the first time and the refused address is now registered.
bool recoverFrom(const RuntimeError& error)
{
  if (!Session.HostRetryDone) {
    const QString upper = error.description.toUpper();
    if (upper.contains(kRefusalMark)) {
      Session.HostRetryDone = true;
      if (g_Send_Host_IP(upper))
        return true;
    }
  }
  g_Err_Msg(error, QStringLiteral("Sub"));
  return false;
}

void finish(StartupScreens& screens, std::unique_ptr<RecordSet>& rs)
{
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
  screens.unloadLoading();
  ui().setCursor(Cursor::Normal);
}

} // namespace

namespace startup {

void refuseSecondInstance()
{
  if (SingleInstance::program().acquire())
    return;
  notice(QString::fromUtf8(kAlreadyRunning), Icon::Exclamation);
  ui().endProcess(0);
}

void ensureErrorTextFolder()
{
  // Nothing writes into the folder; a program folder without write access must not
  // stop the start, so a failure to create it is ignored.
  const QString folder = paths::inProgramDir(QStringLiteral("ErrTxt"));
  if (!QDir(folder).exists())
    QDir().mkpath(folder);
}

} // namespace startup

void Main(StartupScreens& screens)
{
  std::unique_ptr<RecordSet> rs;
  bool again = false;
  try {
    Session.CurrentProcedure = QStringLiteral("Main");
    startup::refuseSecondInstance();
    startup::ensureErrorTextFolder();
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, QStringLiteral("Sub"));
    finish(screens, rs);
    return;
  }
  do {
    try {
      runFromSecrets(screens, rs);
      again = false;
    } catch (const RuntimeError& e) {
      again = recoverFrom(e);
    }
  } while (again);
  finish(screens, rs);
}

} // namespace vcm
