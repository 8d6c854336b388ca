// The login screen without a database: remembered ID, focus, Enter, Caps Lock notice,
// layout and leaving.
#include "common/Regist.h"
#include "common/Session.h"
#include "login/LoginScreen.h"
#include "login/PictureCheckBox.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/Twips.h"
#include "platform/ScriptedUi.h"
#include "support/ScratchSettings.h"

#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vcm {
namespace {

class LoginScreenTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Session.reset();
    ASSERT_TRUE(m_dir.isValid());
    test::useScratchSettings(m_dir.filePath(QStringLiteral("settings.ini")));
  }
  void TearDown() override { test::dropScratchSettings(); }

  static void save(const QString& subkey, const QString& name, QString value)
  {
    ASSERT_TRUE(Reg_SaveString(HKEY_CURRENT_USER_ROOT, SettingsKey + subkey, name, value));
  }

  ScopedScriptedUi ui;
  QTemporaryDir m_dir;
};

TEST_F(LoginScreenTest, ActivationRestoresTheRememberedId)
{
  const struct {
    const char* what;
    QString chkLogin; // null: not stored
    QString loginId;
    QString shownId;
    bool ticked;
    bool focusInPassword;
  } cases[] = {
      {"remembered", QStringLiteral("1"), QStringLiteral("sunshine1001"), QStringLiteral("sunshine1001"), true, true},
      {"remembered, stored as 1.0", QStringLiteral("1.0"), QStringLiteral("abc"), QStringLiteral("abc"), true, true},
      {"not remembered", QStringLiteral("0"), QStringLiteral("sunshine1001"), QString(), false, false},
      {"never stored", QString(), QString(), QString(), false, false},
      {"garbage", QStringLiteral("yes"), QStringLiteral("sunshine1001"), QString(), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::useScratchSettings(m_dir.filePath(QStringLiteral("settings.ini")));
    if (!c.chkLogin.isNull())
      save(QStringLiteral("Chk"), QStringLiteral("Chk_Login"), c.chkLogin);
    if (!c.loginId.isNull())
      save(QStringLiteral("Config"), QStringLiteral("Login_ID"), c.loginId);
    ui->clear();

    LoginScreen screen;
    screen.show();
    EXPECT_EQ(screen.txtID()->text(), c.shownId);
    EXPECT_EQ(screen.Chk_ID()->isChecked(), c.ticked);
    EXPECT_EQ(screen.focusWidget(), c.focusInPassword ? screen.txtPW() : screen.txtID());
    EXPECT_EQ(ui->cursors, QList<Cursor>{Cursor::Normal});
    EXPECT_EQ(screen.Chk_ID()->tickedPicture().cacheKey(), screen.imgMain(1).cacheKey());
    EXPECT_EQ(screen.Chk_ID()->untickedPicture().cacheKey(), screen.imgMain(2).cacheKey());
  }
}

TEST_F(LoginScreenTest, EnterWithAnEmptyFieldDoesNotQuery)
{
  LoginScreen screen;
  screen.show();
  // ID typed, no password: Enter in the ID box moves on to the password.
  screen.txtID()->setText(QStringLiteral("sunshine1001"));
  screen.txtPW()->setText(QStringLiteral("   "));
  QTest::keyClick(screen.txtID(), Qt::Key_Return);
  EXPECT_EQ(screen.focusWidget(), screen.txtPW());
  // Password typed, no ID: Enter in the password box does nothing.
  screen.txtID()->setText(QStringLiteral("  "));
  screen.txtPW()->setText(QStringLiteral("pw"));
  QTest::keyClick(screen.txtPW(), Qt::Key_Enter);
  EXPECT_EQ(screen.focusWidget(), screen.txtPW());
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_FALSE(Session.Connection);
  EXPECT_TRUE(screen.isVisible());
  EXPECT_TRUE(Session.CurrentProcedure.isEmpty());
}

TEST_F(LoginScreenTest, CapsLockNoticeFollowsTheKeyboardInThePasswordBoxOnly)
{
  LoginScreen screen;
  screen.show();
  EXPECT_TRUE(screen.fraCaps()->isHidden());

  ui->m_capsLock = true;
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(screen.txtPW(), &focusIn);
  EXPECT_FALSE(screen.fraCaps()->isHidden());
  EXPECT_EQ(screen.fraCaps()->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            QStringLiteral("Caps Lock이 켜져있습니다."));

  // Typing in the ID box does not refresh it.
  ui->m_capsLock = false;
  QTest::keyClick(screen.txtID(), Qt::Key_A);
  EXPECT_FALSE(screen.fraCaps()->isHidden());

  // A key in the password box does; so does Caps Lock coming back on.
  QTest::keyClick(screen.txtPW(), Qt::Key_A);
  EXPECT_TRUE(screen.fraCaps()->isHidden());
  EXPECT_EQ(screen.txtPW()->text(), QStringLiteral("a"));
  ui->m_capsLock = true;
  QTest::keyClick(screen.txtPW(), Qt::Key_CapsLock);
  EXPECT_FALSE(screen.fraCaps()->isHidden());

  // Switched off, X11 reports it only once the key is released.
  QTest::keyPress(screen.txtPW(), Qt::Key_CapsLock);
  ui->m_capsLock = false;
  EXPECT_FALSE(screen.fraCaps()->isHidden());
  QTest::keyRelease(screen.txtPW(), Qt::Key_CapsLock);
  EXPECT_TRUE(screen.fraCaps()->isHidden());
}

TEST_F(LoginScreenTest, LayoutTabOrderAndCaption)
{
  LoginScreen screen;
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("베트라케어 로그인"));
  EXPECT_EQ(screen.objectName(), QStringLiteral("로그인"));
  EXPECT_EQ(screen.size(), twipsSize(5595, 5430));
  EXPECT_EQ(screen.minimumSize(), screen.maximumSize());
  EXPECT_EQ(screen.txtID()->geometry(), twipsRect(1320, 2250, 2115, 315));
  EXPECT_EQ(screen.txtPW()->geometry(), twipsRect(1335, 2940, 2115, 360));
  EXPECT_EQ(screen.Chk_ID()->geometry(), twipsRect(1200, 3465, 2175, 315));
  EXPECT_EQ(screen.cmdLogin()->geometry(), twipsRect(3705, 2040, 1065, 1320));
  EXPECT_EQ(screen.cmdClose()->geometry(), twipsRect(3705, 3405, 1035, 450));
  EXPECT_EQ(screen.fraCaps()->geometry(), twipsRect(2115, 3360, 2700, 570));
  EXPECT_EQ(screen.txtPW()->echoMode(), QLineEdit::Password);
  EXPECT_EQ(screen.cmdClose()->text(), QStringLiteral("CLOSE"));
  EXPECT_EQ(screen.Chk_ID()->text(), QStringLiteral("ID저장"));

  const QList<QWidget*> order{screen.txtID(), screen.txtPW(), screen.Chk_ID(), screen.cmdLogin(),
                              screen.cmdClose()};
  for (int i = 0; i + 1 < order.size(); ++i)
    EXPECT_EQ(order[i]->nextInFocusChain(), order[i + 1]) << i;
}

TEST_F(LoginScreenTest, CloseEndsTheProgramAtOnce)
{
  LoginScreen screen;
  screen.show();
  EXPECT_THROW(screen.cmdClose_Click(), ProcessEnded);
  EXPECT_TRUE(ui->messages.isEmpty());
}

} // namespace
} // namespace vcm
