// The main window with a stand-in child screen: sizing, work buttons, go-to buttons,
// quick bar and closing.
#include "TestChild.h"

#include "common/Session.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"
#include "mainwindow/Twips.h"
#include "platform/ScriptedUi.h"

#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <gtest/gtest.h>

namespace vcm {
namespace {

const QString kLedger = QStringLiteral("회계2_거래리스트_New");
const QString kBiz = QStringLiteral("사업장_사업장정보");

class MainWindowTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Session.reset();
    MainWindow::setChildFactory(kLedger, [this](MainWindow& main) {
      ++childrenMade;
      return new TestChild(main, kLedger);
    });
  }

  void TearDown() override
  {
    MainWindow::setChildFactory(kLedger, {});
    MainWindow::setDialogFactory(kBiz, {});
    MainWindow::setDialogFactory(MainWindow::kFileTransferName, {});
    flushDeletes();
  }

  static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  /// A loaded main window on a screen of `screen` pixels.
  std::unique_ptr<MainWindow> load(QSize screen = {1920, 1080})
  {
    ui->m_screen = screen;
    auto w = std::make_unique<MainWindow>();
    w->Form_Load();
    return w;
  }

  TestChild* ledger(MainWindow& w) { return dynamic_cast<TestChild*>(w.openChild(kLedger)); }

  QList<bool> workVisibility(MainWindow& w)
  {
    QList<bool> out;
    for (int i = 0; i < MainWindow::kWorkButtonCount; ++i)
      out << !w.cmdWork(i)->isHidden();
    return out;
  }

  ScopedScriptedUi ui;
  int childrenMade = 0;
};

TEST_F(MainWindowTest, SizeDependsOnTheScreen)
{
  const struct {
    QSize screen;
    bool maximised;
    QRect geometry;
  } cases[] = {
      {{1920, 1080}, false, {293, 90, 1333, 900}},
      {{1280, 1024}, true, {}},
      {{1280, 900}, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.screen.width());
    auto w = load(c.screen);
    EXPECT_EQ(w->isMaximized(), c.maximised);
    if (!c.maximised) {
      EXPECT_EQ(w->frameGeometry(), c.geometry);
    }
    EXPECT_EQ(w->windowTitle(), QStringLiteral("베트라Care"));
    EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("cmdWork_Click"));
  }
}

TEST_F(MainWindowTest, LoadingOpensTheLedgerWhichSetsButtonsAndItsQuickButton)
{
  auto w = load();
  TestChild* child = ledger(*w);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(w->activeChild(), child);
  EXPECT_GE(child->activations, 1);
  EXPECT_EQ(workVisibility(*w), (QList<bool>{false, true, true, true, false, false, true, false, true}));
  const PictureButton* quick = w->g_cmdQuick(1);
  ASSERT_NE(quick, nullptr);
  EXPECT_EQ(quick->tag(), QStringLiteral("003") + kLedger);
  EXPECT_EQ(quick->picture().cacheKey(), w->g_ImgList_Q(4).cacheKey());
  EXPECT_EQ(quick->geometry(), twipsRect(15, 15, 1800, 390));
  EXPECT_EQ(w->g_cmdQuick_X(1)->geometry().left(), twipsToPixels(15 + 1380));
  // Templates stay hidden.
  EXPECT_TRUE(w->g_cmdQuick(0)->isHidden());
  EXPECT_TRUE(w->g_cmdQuick_X(0)->isHidden());

  // The frame losing and regaining the focus (a message box) does not re-activate it.
  const int activations = child->activations;
  auto* sub = qobject_cast<QMdiSubWindow*>(child->parentWidget());
  emit w->mdiArea()->subWindowActivated(nullptr);
  emit w->mdiArea()->subWindowActivated(sub);
  EXPECT_EQ(child->activations, activations);

  // Going to the ledger again adds no second child and no second quick button.
  w->g_CmdGoto_Click(1);
  EXPECT_EQ(childrenMade, 1);
  EXPECT_EQ(w->quickBar().indexes(), QList<int>{1});
}

TEST_F(MainWindowTest, WorkButtonsGoToTheActiveChild)
{
  auto w = load();
  for (int i : {2, 8, 0})
    w->cmdWork_Click(i);
  EXPECT_EQ(ledger(*w)->commands, (QList<int>{2, 8, 0}));
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(MainWindowTest, WorkButtonWithoutChildOffersToQuit)
{
  MainWindow::setChildFactory(kLedger, {});
  auto w = load();
  ASSERT_EQ(w->otherScreenCount(), 0);

  ui->answers.enqueue(Answer::No);
  w->cmdWork_Click(4);
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("[베트라Care]를 종료하시겠습니까?"));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Question);
  EXPECT_EQ(ui->messages[0].buttons, Buttons::YesNo);
  EXPECT_TRUE(w->isVisible());

  ui->answers.enqueue(Answer::Yes);
  EXPECT_THROW(w->cmdWork_Click(4), ProcessEnded);
}

TEST_F(MainWindowTest, PendingWorkBlocksGoToAndQuickButtons)
{
  int dialogsMade = 0;
  MainWindow::setDialogFactory(kBiz, [&](MainWindow&) {
    ++dialogsMade;
    auto* d = new QDialog;
    QTimer::singleShot(0, d, &QDialog::reject);
    return d;
  });
  const struct {
    QString tag0;
    QString tag1;
    bool pending;
  } cases[] = {
      {{}, QStringLiteral("WORK"), true},
      {QStringLiteral("WORK"), {}, true},
      {QStringLiteral("work"), {}, false},
      {{}, QStringLiteral("WORK "), false},
      {{}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE((c.tag0 + "|" + c.tag1).toStdString());
    auto w = load();
    w->g_Setting_Quick_Btn(kBiz);
    w->g_Setting_Quick_Btn(kLedger);
    w->cmdWork(0)->setTag(c.tag0);
    w->cmdWork(1)->setTag(c.tag1);
    ui->clear();
    dialogsMade = 0;

    w->g_CmdGoto_Click(0);
    w->g_cmdQuick_Click(1);
    EXPECT_EQ(w->pendingWork(), c.pending);
    if (c.pending) {
      EXPECT_EQ(ui->texts(), QStringList(2, MainWindow::kPendingWorkText));
      EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
      EXPECT_EQ(dialogsMade, 0);
    } else {
      EXPECT_TRUE(ui->messages.isEmpty());
      EXPECT_EQ(dialogsMade, 1);
    }
    EXPECT_TRUE(w->g_CmdGoto(0)->isEnabled());
    // Closing the frame cannot happen with pending work: the ledger refuses.
    w->cmdWork(0)->setTag({});
    w->cmdWork(1)->setTag({});
    w->g_cmdQuick_X_Click(2);
  }
}

TEST_F(MainWindowTest, GoToButtonStaysDisabledWhileItsScreenIsOpen)
{
  auto w = load();
  for (int index : {0, 2}) {
    SCOPED_TRACE(index);
    bool enabledWhileOpen = true;
    int countWhileOpen = 0;
    const QString name = index == 0 ? kBiz : MainWindow::kFileTransferName;
    MainWindow::setDialogFactory(name, [&](MainWindow& main) {
      auto* d = new QDialog(&main);
      QTimer::singleShot(0, d, [&, d, index] {
        enabledWhileOpen = w->g_CmdGoto(index)->isEnabled();
        countWhileOpen = w->otherScreenCount();
        d->accept();
      });
      return d;
    });
    const int activations = ledger(*w)->activations;
    w->g_CmdGoto_Click(index);
    // The ledger loses the activation to the dialog and gets it back.
    EXPECT_EQ(ledger(*w)->activations, activations + 1);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_GE(countWhileOpen, 2); // the ledger and the dialog
    EXPECT_TRUE(w->g_CmdGoto(index)->isEnabled());
  }
  // A screen nobody registered opens nothing and says nothing.
  MainWindow::setDialogFactory(MainWindow::kFileTransferName, {});
  w->g_CmdGoto_Click(2);
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_TRUE(w->g_CmdGoto(2)->isEnabled());
}

TEST_F(MainWindowTest, QuickButtonsBringTheirScreenToTheFront)
{
  auto w = load();
  QMdiSubWindow* other = w->mdiArea()->addSubWindow(new QWidget);
  other->show();
  w->mdiArea()->setActiveSubWindow(other);
  ASSERT_NE(w->mdiArea()->currentSubWindow()->widget(), ledger(*w));

  w->g_Setting_Quick_Btn(QStringLiteral("기타화면"));
  ASSERT_EQ(w->g_cmdQuick(2)->tag(), QStringLiteral("000기타화면"));
  w->g_cmdQuick_Click(2);
  EXPECT_EQ(w->mdiArea()->currentSubWindow(), other);
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_cmdQuick_Click"));

  w->g_cmdQuick_Click(1);
  EXPECT_EQ(w->mdiArea()->currentSubWindow()->widget(), ledger(*w));
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(MainWindowTest, WorkFlagsWithTooFewPartsReportAfterSettingTheListedButtons)
{
  auto w = load();
  w->g_ChNum(QStringLiteral("1,1,1,1,1,1,1,1,1"));
  ui->clear();
  w->g_ChNum(QStringLiteral("0,0,0,0,1,0,0,0"));
  EXPECT_EQ(workVisibility(*w), (QList<bool>{false, false, false, false, true, false, false, false, true}));
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("오류발생(g_ChNum)"));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
}

TEST_F(MainWindowTest, CloseButtonOfTheQuickBarUnloadsTheScreen)
{
  auto w = load();
  w->g_Setting_Quick_Btn(QStringLiteral("기타화면"));

  // While work is pending the ledger refuses and its button stays.
  w->cmdWork(1)->setTag(QStringLiteral("WORK"));
  w->g_cmdQuick_X_Click(1);
  flushDeletes();
  EXPECT_NE(ledger(*w), nullptr);
  EXPECT_NE(w->g_cmdQuick(1), nullptr);

  w->cmdWork(1)->setTag({});
  w->g_cmdQuick_X_Click(1);
  flushDeletes();
  EXPECT_EQ(ledger(*w), nullptr);
  EXPECT_EQ(w->g_cmdQuick(1), nullptr);
  EXPECT_EQ(w->g_cmdQuick_X(1), nullptr);
  // The remaining button moved into the gap.
  EXPECT_EQ(w->g_cmdQuick(2)->geometry().left(), twipsToPixels(15));
  EXPECT_EQ(w->g_cmdQuick_X(2)->geometry().left(), twipsToPixels(15 + 1340));

  // A screen the quick bar cannot close, and a hole.
  w->g_cmdQuick_X_Click(2);
  EXPECT_TRUE(ui->messages.isEmpty());
  w->g_cmdQuick_X_Click(1);
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("오류발생(g_Setting_Quick_X)")});
}

TEST_F(MainWindowTest, ClosingTheFrameClosesChildrenThenAsks)
{
  auto w = load();
  // A child with pending work refuses, and the question is not asked.
  w->cmdWork(1)->setTag(QStringLiteral("WORK"));
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(ui->messages.isEmpty());
  flushDeletes();
  EXPECT_NE(ledger(*w), nullptr);

  // No keeps the frame open without its children.
  w->cmdWork(1)->setTag({});
  ui->answers.enqueue(Answer::No);
  EXPECT_FALSE(w->close());
  flushDeletes();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("[베트라Care]를 종료하시겠습니까?")});
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(ledger(*w), nullptr);
  EXPECT_TRUE(w->quickBar().indexes().isEmpty());

  ui->answers.enqueue(Answer::Yes);
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(ui->cursors.value(ui->cursors.size() - 1), Cursor::Normal);
}

TEST_F(MainWindowTest, ResizingLetsTheLedgerLayItselfOut)
{
  auto w = load();
  TestChild* child = ledger(*w);
  const int before = child->resizes;
  w->resize(w->width() + 40, w->height() + 30);
  EXPECT_GT(child->resizes, before);

  // Another child in front: the ledger is not asked.
  QMdiSubWindow* other = w->mdiArea()->addSubWindow(new QWidget);
  other->show();
  w->mdiArea()->setActiveSubWindow(other);
  const int now = child->resizes;
  w->resize(w->width() - 40, w->height() - 30);
  EXPECT_EQ(child->resizes, now);
}

TEST_F(MainWindowTest, ImageListsHoldTheirPictures)
{
  auto w = load();
  for (int i = 1; i <= 6; ++i)
    EXPECT_FALSE(w->g_BT_img(i).isNull()) << i;
  for (int i = 1; i <= 10; ++i)
    EXPECT_FALSE(w->imgMain(i).isNull()) << i;
  for (int i = 1; i <= 4; ++i)
    EXPECT_FALSE(w->g_ImgList_Q(i).isNull()) << i;
  EXPECT_TRUE(w->g_BT_img(0).isNull());
  EXPECT_TRUE(w->g_BT_img(7).isNull());
  EXPECT_TRUE(w->g_ImgList_Q(5).isNull());
  EXPECT_EQ(w->cmdWork(9), nullptr);
  EXPECT_EQ(w->g_CmdGoto(3), nullptr);
  // Left to right the go-to buttons read 회계, 파일, 사업장.
  EXPECT_LT(w->g_CmdGoto(1)->x(), w->g_CmdGoto(2)->x());
  EXPECT_LT(w->g_CmdGoto(2)->x(), w->g_CmdGoto(0)->x());
  // Button 8 sits lower than the others, still inside its panel.
  EXPECT_EQ(w->cmdWork(8)->y() - w->cmdWork(7)->y(), twipsToPixels(30));
  EXPECT_LE(w->cmdWork(8)->geometry().bottom(), w->cmdWork(8)->parentWidget()->height());
}

} // namespace
} // namespace vcm
