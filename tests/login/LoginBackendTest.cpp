// The login against the real test database with encrypted COM_LIST rows.
#include "common/MainConn.h"
#include "common/Regist.h"
#include "common/Session.h"
#include "login/LoginQuery.h"
#include "login/LoginScreen.h"
#include "login/PictureCheckBox.h"
#include "mainwindow/MainWindow.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "support/ScratchSettings.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vcm {
namespace {

class LoginBackendTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    be = &test::Backend::shared();
    if (!be->available())
      GTEST_SKIP() << be->unavailableReason().toStdString();
    Session.reset();
    Session.ConnectionString = be->connectionString();
    Session.CryptKey = be->cryptKey();
    ASSERT_TRUE(m_dir.isValid());
    test::useScratchSettings(m_dir.filePath(QStringLiteral("settings.ini")));
  }

  void TearDown() override
  {
    delete MainWindow::instance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Session.Connection.reset();
    test::dropScratchSettings();
  }

  QString env(const char* key) const { return be->value(QString::fromLatin1(key)); }

  static QString setting(const QString& subkey, const QString& name)
  {
    return Reg_GetString(HKEY_CURRENT_USER_ROOT, SettingsKey + subkey, name);
  }

  /// Types into both boxes and presses Enter in the password box.
  static void attempt(LoginScreen& screen, const QString& id, const QString& pw)
  {
    screen.txtID()->setText(id);
    screen.txtPW()->setText(pw);
    QTest::keyClick(screen.txtPW(), Qt::Key_Return);
  }

  test::Backend* be = nullptr;
  ScopedScriptedUi ui;
  QTemporaryDir m_dir;
};

TEST_F(LoginBackendTest, RefusedAttemptsKeepTheScreenAndASecondAttemptLogsIn)
{
  LoginScreen screen;
  screen.show();
  const struct {
    const char* what;
    QString id;
    QString pw;
    QString text;
    QWidget* focus;
  } refusals[] = {
      {"unknown id", QStringLiteral("nobody"), env("MEMBER_PW"), LoginQuery::kUnknownIdText, screen.txtID()},
      {"password in other case", env("MEMBER_ID"), env("MEMBER_PW").toUpper(), LoginQuery::kWrongPasswordText, screen.txtPW()},
      {"other member's password", env("MEMBER_ID"), env("MAINT_MEMBER_PW"), LoginQuery::kWrongPasswordText, screen.txtPW()},
      // A typed ID that tries to leave its literal is just an ID nobody has.
      {"injection", QStringLiteral("' OR '1'='1"), env("MEMBER_PW"), LoginQuery::kUnknownIdText, screen.txtID()},
      {"backslash", QStringLiteral("x\\' OR 1=1 -- "), env("MEMBER_PW"), LoginQuery::kUnknownIdText, screen.txtID()},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.what);
    ui->clear();
    attempt(screen, r.id, r.pw);
    ASSERT_EQ(ui->messages.size(), 1);
    EXPECT_EQ(ui->messages[0].text, r.text);
    EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
    EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(screen.focusWidget(), r.focus);
    EXPECT_EQ(screen.txtID()->text(), r.id);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(MainWindow::instance(), nullptr);
    EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Rs_Nothing"));
  }

  // Blanks around both are ignored; the box is unticked, yet the ID is stored.
  ui->clear();
  attempt(screen, QStringLiteral("  ") + env("MEMBER_ID") + QStringLiteral(" "),
          QStringLiteral(" ") + env("MEMBER_PW") + QStringLiteral("  "));
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join('|').toStdString();
  EXPECT_FALSE(screen.isVisible());
  ASSERT_NE(MainWindow::instance(), nullptr);
  EXPECT_TRUE(MainWindow::instance()->isVisible());
  EXPECT_EQ(Session.CompanyCode, env("COM_CD"));
  EXPECT_EQ(Session.CompanyName, env("COM_NM"));
  EXPECT_EQ(setting(QStringLiteral("Chk"), QStringLiteral("Chk_Login")), QStringLiteral("0"));
  EXPECT_EQ(setting(QStringLiteral("Config"), QStringLiteral("Login_ID")), env("MEMBER_ID"));
  EXPECT_FALSE(Session.Connection);
}

TEST_F(LoginBackendTest, TickedBoxIsStoredAndEnterInTheIdBoxLogsIn)
{
  LoginScreen screen;
  screen.show();
  screen.Chk_ID()->setChecked(true);
  screen.txtID()->setText(env("MEMBER_ID"));
  screen.txtPW()->setText(env("MEMBER_PW"));
  QTest::keyClick(screen.txtID(), Qt::Key_Return);
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join('|').toStdString();
  EXPECT_NE(MainWindow::instance(), nullptr);
  EXPECT_EQ(setting(QStringLiteral("Chk"), QStringLiteral("Chk_Login")), QStringLiteral("1"));

  // Next time the screen offers the ID and waits for the password.
  LoginScreen again;
  again.show();
  EXPECT_EQ(again.txtID()->text(), env("MEMBER_ID"));
  EXPECT_EQ(again.focusWidget(), again.txtPW());
}

TEST_F(LoginBackendTest, MaintenanceRefusesAndEndsTheScreen)
{
  LoginScreen screen;
  screen.show();
  attempt(screen, env("MAINT_MEMBER_ID"), env("MAINT_MEMBER_PW"));
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("해당 [서버점검]중입니다. "));
  EXPECT_EQ(ui->messages[0].icon, Icon::Information);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(MainWindow::instance(), nullptr);
  EXPECT_FALSE(Session.Connection);
  EXPECT_TRUE(Session.CompanyCode.isEmpty());
  EXPECT_TRUE(setting(QStringLiteral("Config"), QStringLiteral("Login_ID")).isEmpty());
}

TEST_F(LoginBackendTest, IdWithApostropheAndBackslashLogsIn)
{
  const QString id = QStringLiteral("o'neil\\7");
  const QString key = be->cryptKey();
  be->adminExec(QStringLiteral("DELETE FROM COM_LIST WHERE COM_CD = 'T0QUOTE'"));
  be->adminExec(QStringLiteral("INSERT INTO COM_LIST (COM_CD, COM_NM, MEMBER_ID, MEMBER_PW, MEMBER_APP_USE) "
                               "VALUES ('T0QUOTE', '따옴표센터', HEX(AES_ENCRYPT('o''neil\\\\7', '%1')), "
                               "HEX(AES_ENCRYPT('pw''\\\\x', '%1')), 0)")
                    .arg(key));
  LoginScreen screen;
  screen.show();
  attempt(screen, id, QStringLiteral("pw'\\x"));
  be->adminExec(QStringLiteral("DELETE FROM COM_LIST WHERE COM_CD = 'T0QUOTE'"));
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join('|').toStdString();
  EXPECT_EQ(Session.CompanyCode, QStringLiteral("T0QUOTE"));
  EXPECT_EQ(Session.CompanyName, QStringLiteral("따옴표센터"));
  EXPECT_EQ(setting(QStringLiteral("Config"), QStringLiteral("Login_ID")), id);
}

TEST_F(LoginBackendTest, FailureToConnectShowsTheErrorNoticeAndEnds)
{
  Session.ConnectionString = be->connectionString({}, 1); // nothing listens there
  LoginScreen screen;
  screen.show();
  attempt(screen, env("MEMBER_ID"), env("MEMBER_PW"));
  // The standard notice first; the never-opened connection then fails to close as well,
  // which the close routine reports with its own two boxes.
  ASSERT_EQ(ui->messages.size(), 3) << ui->texts().join('|').toStdString();
  EXPECT_EQ(ui->messages[1].text, QStringLiteral("연결종료시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."));
  EXPECT_TRUE(ui->messages[0].title.startsWith(QStringLiteral("오류안내(")));
  EXPECT_TRUE(ui->messages[0].text.contains(QStringLiteral("(로그인)cmdLogin_Click")))
      << ui->messages[0].text.toStdString();
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(MainWindow::instance(), nullptr);
}

} // namespace
} // namespace vcm
