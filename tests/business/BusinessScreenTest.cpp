// Both screens through their real widgets, with KoltRich text fields made through the
// class identity of the built control library.
#include "BusinessDb.h"

#include "business/BusinessInfoChangeScreen.h"
#include "business/BusinessInfoScreen.h"
#include "common/Session.h"
#include "mainwindow/MainWindow.h"
#include "platform/ScriptedUi.h"
#include "textcontrol/RegisteredLibrary.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace vcm {
namespace {

using Rows = QList<QStringList>;

/// Types text character by character, as a keyboard with an input method delivers it.
void type(QWidget* box, const QString& text)
{
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, c.isDigit() ? Qt::Key_0 + c.digitValue() : 0,
                    Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &press);
  }
}

class BusinessScreenTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    test::registerBuiltLibrary();
    db.reset();
  }
  void TearDown() override
  {
    Session.Connection.reset();
    Session.reset();
  }

  template <typename Screen> std::unique_ptr<Screen> open()
  {
    std::unique_ptr<Screen> screen(Screen::create(nullptr));
    EXPECT_NE(screen, nullptr) << ui->texts().join(QLatin1Char('|')).toStdString();
    if (screen) {
      screen->show();
      EXPECT_TRUE(QTest::qWaitForWindowActive(screen.get()));
    }
    return screen;
  }

  test::Backend& be = test::Backend::shared();
  test::BusinessDb db{be};
  ScopedScriptedUi ui;
};

TEST_F(BusinessScreenTest, ViewShowsStoredTextsWithOrWithoutSeparators)
{
  for (const char* stored : {"1234567890", "123-45-67890"}) {
    db.set(QStringLiteral("BIZ_NO = '%1', COM_POSTNO = '%2'")
               .arg(QLatin1String(stored), QLatin1String(stored[3] == '-' ? "073-21" : "07321")));
    auto view = open<BusinessInfoScreen>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->mskBase(0)->displayText(), QStringLiteral("123-45-67890")) << stored;
    EXPECT_EQ(view->mskBase(2)->displayText(), QStringLiteral("073-21")) << stored;
    EXPECT_EQ(view->txtBase(0)->Text(), QStringLiteral("77011"));
    EXPECT_EQ(view->txtBase(0)->SelAlignment(), 2);
    EXPECT_EQ(view->txtCCode()->Text(), test::BusinessDb::Company);
    EXPECT_TRUE(view->txtBase(1)->Locked());
    EXPECT_TRUE(view->opt_ConDiv(1)->isChecked());
    EXPECT_FALSE(view->opt_ConDiv(3)->isChecked());
    EXPECT_TRUE(view->cmdCom_Edit()->isVisible());
  }
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(BusinessScreenTest, WithoutTheRegisteredControlTheScreensRefuseWithOneNotice)
{
  const QByteArray registered = qgetenv("VCM_CLASS_REGISTRY");
  QTemporaryDir empty;
  qputenv("VCM_CLASS_REGISTRY", empty.filePath(QStringLiteral("none.ini")).toLocal8Bit());
  EXPECT_EQ(BusinessInfoScreen::create(nullptr), nullptr);
  EXPECT_EQ(BusinessInfoChangeScreen::create(nullptr), nullptr);
  qputenv("VCM_CLASS_REGISTRY", registered);
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_TRUE(ui->messages[0].text.contains(QStringLiteral("등록되어 있지 않습니다")));
}

TEST_F(BusinessScreenTest, MainWindowGoToButtonOpensTheViewModal)
{
  registerBusinessScreens();
  MainWindow main;
  QString opened;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      opened = modal->objectName();
      modal->close();
    }
  });
  main.g_CmdGoto_Click(0);
  MainWindow::setDialogFactory(BusinessInfoView::kFormName, {});
  EXPECT_EQ(opened, BusinessInfoView::kFormName);
}

TEST_F(BusinessScreenTest, ClosingTheChangeScreenReloadsTheView)
{
  auto view = open<BusinessInfoScreen>();
  ASSERT_TRUE(view);
  EXPECT_EQ(view->txtBase(2)->Text(), QStringLiteral("박대표"));
  QTimer::singleShot(0, [&] {
    db.set(QStringLiteral("BOSS_NM = '새대표'"));
    if (QWidget* change = QApplication::activeModalWidget())
      change->close();
  });
  QTest::mouseClick(view->cmdCom_Edit(), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->txtBase(2)->Text() == QStringLiteral("새대표"); }));
}

TEST_F(BusinessScreenTest, TheCloseButtonsCloseTheirWindows)
{
  // The change request, modal over the view as the member opens it, closes by its own
  // button; then the view, shown from the quick bar, by its.
  auto view = open<BusinessInfoScreen>();
  ASSERT_TRUE(view);
  bool changeClosed = false;
  QTimer::singleShot(0, [&] {
    QWidget* change = QApplication::activeModalWidget();
    if (!change)
      return;
    QTest::mouseClick(change->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
    changeClosed = !change->isVisible();
  });
  QTest::mouseClick(view->cmdCom_Edit(), Qt::LeftButton);
  EXPECT_TRUE(changeClosed);
  QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("cmdClose")), Qt::LeftButton);
  EXPECT_FALSE(view->isVisible());
}

TEST_F(BusinessScreenTest, TickTypeAndSave)
{
  auto change = open<BusinessInfoChangeScreen>();
  ASSERT_TRUE(change);
  EXPECT_EQ(change->txtBase(2)->Text(), QStringLiteral("박대표"));
  EXPECT_FALSE(change->txtBase_CH(2)->Enabled());

  // The current values cannot be typed over.
  QTest::keyClicks(change->mskBase(0), QStringLiteral("999"));
  QTest::keyClick(change->mskBase(0), Qt::Key_Delete);
  EXPECT_EQ(change->mskBase(0)->displayText(), QStringLiteral("123-45-67890"));

  QTest::mouseClick(change->chkWrite_Com(3), Qt::LeftButton);
  ASSERT_TRUE(change->txtTel_CH(0)->Enabled());
  QTest::keyClicks(test::innerBox(change->txtTel_CH(0)), QStringLiteral("0212345678"));
  EXPECT_EQ(change->txtTel_CH(0)->Text(), QStringLiteral("02-1234-5678"));

  QTest::mouseClick(change->chkWrite_Com(5), Qt::LeftButton);
  ASSERT_TRUE(change->txtBase_CH(2)->Enabled());
  type(test::innerBox(change->txtBase_CH(2)), QStringLiteral("김철수"));

  QTest::mouseClick(change->chkWrite_Com(17), Qt::LeftButton);
  EXPECT_TRUE(change->picCon_Div()->isEnabled());
  QTest::mouseClick(change->opt_ConDiv_CH(1), Qt::LeftButton);

  // Ticked, typed and unticked again: not part of the request.
  QTest::mouseClick(change->chkWrite_Com(7), Qt::LeftButton);
  type(test::innerBox(change->txtBase_CH(3)), QStringLiteral("무시"));
  QTest::mouseClick(change->chkWrite_Com(7), Qt::LeftButton);
  EXPECT_FALSE(change->txtBase_CH(3)->Enabled());

  QTest::mouseClick(change->cmdFinish(), Qt::LeftButton);
  EXPECT_EQ(db.details(), (Rows{{"0001", "COM_TEL", "02-1234-5678"},
                                {"0001", "BOSS_NM", "김철수"},
                                {"0001", "CON_DIV", "1"}}));
  EXPECT_EQ(ui->texts().last(), BusinessInfoChange::kSavedText);
  EXPECT_FALSE(change->cmdFinish()->isEnabled());

  change.reset();
  auto reopened = open<BusinessInfoChangeScreen>();
  ASSERT_TRUE(reopened);
  EXPECT_TRUE(reopened->cmdFinish()->isEnabled());
}

} // namespace
} // namespace vcm
