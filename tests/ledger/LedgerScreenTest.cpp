// The ledger screen's widgets over the logic, against the test database.
#include "LedgerFixture.h"
#include "textcontrol/RegisteredLibrary.h"

#include "common/grid/GridView.h"
#include "ledger/LedgerScreen.h"
#include "ledger/SearchPopupDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureButton.h"
#include "platform/Appearance.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QFrame>
#include <QKeyEvent>
#include <QApplication>
#include <QDesktopServices>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QToolButton>

#include <optional>

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerScreenTest : public LedgerFixture {
protected:
  void SetUp() override
  {
    LedgerFixture::SetUp();
    registerBuiltLibrary(); // txtSearch is the text control, found through its class identity
  }
  /// The ledger shown and active inside a shown main window, on `month`.
  LedgerScreen* showInMainWindow(MainWindow& main, const QString& month)
  {
    registerLedgerScreen();
    main.resize(1400, 900);
    main.show();
    auto* screen = qobject_cast<LedgerScreen*>(main.showLedger());
    if (!screen)
      return nullptr;
    screen->ledger().form.mskM = month;
    screen->Form_Activate();
    main.activateWindow();
    return QTest::qWaitForWindowActive(&main) ? screen : nullptr;
  }
};

/// Takes the address the desktop would open in the browser.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QUrl url;
public slots:
  void open(const QUrl& u) { url = u; }
};

} // namespace

TEST_F(LedgerScreenTest, ControlsCarryTheirNamesAndCaptions)
{
  LedgerScreen screen(nullptr);
  EXPECT_EQ(screen.objectName(), QStringLiteral("회계2_거래리스트_New"));
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("거래내역"));
  const std::pair<const char*, QString> captions[] = {
      {"cmdRowAdd_Divide_1", "분할(1줄)"}, {"cmdRowAdd_Divide_5", "분할(5줄)"},
      {"cmdRowDel", "분할한 내역삭제"},     {"cmdTrans", "베트라케어로 마감 전송"},
      {"cmdManual", "사용설명서 보기"},     {"optSearch_1", "계정명"},
      {"optSearch_4", "금액"},              {"optSearch_F_3", "지출"},
      {"cmdSearch", "검색"},
  };
  for (const auto& [name, caption] : captions) {
    auto* b = screen.findChild<QAbstractButton*>(QLatin1String(name));
    ASSERT_TRUE(b) << name;
    EXPECT_EQ(b->text(), caption) << name;
  }
  EXPECT_EQ(screen.findChild<QGroupBox*>(QStringLiteral("fraMain"))->title(), QStringLiteral("[ 검색 및 통계 ]"));
  EXPECT_EQ(screen.findChild<QLabel*>(QStringLiteral("lblCbo_Acc"))->text(),
            QStringLiteral("※ 선택한 후 [Enter] 또는 [더블클릭] 해주세요."));
  for (const char* name : {"picEasy", "picExplan", "picWork", "picTrans", "xBar", "msk_M", "Dat_M", "cmdMon",
                           "MonV", "txtSearch", "tabDeal", "picCbo_Acc", "pMenu"})
    EXPECT_TRUE(screen.findChild<QObject*>(QLatin1String(name))) << name;

  const Grid& g = screen.findChild<GridView*>(QStringLiteral("sprDeal"))->grid();
  EXPECT_EQ(g.columnCount(), 31);
  QStringList hidden;
  for (int c = 1; c <= 31; ++c)
    if (g.isColumnHidden(c))
      hidden << QString::number(c);
  EXPECT_EQ(hidden.join(u','), QStringLiteral("3,7,13,18,22,23,24,25,26,27,28,29,30,31"));
  EXPECT_EQ(g.text(deal::PartNo, 0), QStringLiteral(" 상세 코드"));
  EXPECT_DOUBLE_EQ(g.columnWidth(deal::BankName), 22.37);
  EXPECT_EQ(g.cellType(deal::Check, 0), CellType::CheckBox);
  EXPECT_EQ(g.cellType(deal::InAmount, 1), CellType::Number);
  EXPECT_EQ(screen.ledger().form.mskM, QStringLiteral("2024.05"));
  EXPECT_EQ(screen.findChild<QWidget*>(QStringLiteral("txtSearch"))->findChild<QTextEdit*>()->toPlainText(),
            QString());
}

TEST_F(LedgerScreenTest, InsideTheMainWindowTheWorkButtonsDriveTheLedger)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 1, "201", "003", 2000, 0}});
  registerLedgerScreen();
  MainWindow main;
  main.resize(1200, 900);
  auto* screen = qobject_cast<LedgerScreen*>(main.showLedger());
  ASSERT_TRUE(screen);
  screen->ledger().form.mskM = LedgerDb::Month;
  screen->Form_Activate();
  EXPECT_EQ(screen->ledger().sprDeal.rowCount(), 2);
  EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lbl_TInfo_0"))->text(), QStringLiteral("2 건"));
  const QString visible = [&] {
    QStringList v;
    for (int i = 0; i < 9; ++i)
      v << (main.cmdWork(i)->isVisibleTo(&main) ? "1" : "0");
    return v.join(u',');
  }();
  EXPECT_EQ(visible, QStringLiteral("0,1,1,1,0,0,1,0,1"));

  main.cmdWork_Click(1);
  EXPECT_EQ(main.cmdWork(1)->tag(), QStringLiteral("WORK"));
  EXPECT_TRUE(main.cmdWork(2)->isEnabled());
  EXPECT_FALSE(main.cmdWork(8)->isEnabled());
  EXPECT_FALSE(screen->findChild<QWidget*>(QStringLiteral("fraSearch"))->isEnabled());

  screen->ledger().sprDeal.setText(deal::Summary, 1, QStringLiteral("화면에서"));
  screen->ledger().sprDeal_Change(deal::Summary, 1);
  main.cmdWork_Click(2);
  EXPECT_EQ(ui->texts().last(), QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다."));
  auto* bar = screen->findChild<QProgressBar*>(QStringLiteral("xBar"));
  EXPECT_EQ(bar->value(), 100);
  EXPECT_EQ(bar->format(), QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다."));
  EXPECT_EQ(db.column("DEAL_SUMM").value(0), QStringLiteral("화면에서"));
  EXPECT_EQ(main.cmdWork(1)->tag(), QString());
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

TEST_F(LedgerScreenTest, TheClosingButtonRefusesPendingWorkAndSendsInBrowse)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}});
  MainWindow main;
  LedgerScreen* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  auto* cmdTrans = screen->findChild<QPushButton*>(QStringLiteral("cmdTrans"));
  ASSERT_TRUE(cmdTrans);
  main.cmdWork_Click(1);
  ASSERT_EQ(main.cmdWork(1)->tag(), QStringLiteral("WORK"));
  ui->clear();
  QTest::mouseClick(cmdTrans, Qt::LeftButton);
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("수정작업 중에는 마감 전송을 할 수 없습니다.\n\n"
                                                    "작업을 저장하거나 취소한 후 다시 전송해주세요.")});
  EXPECT_EQ(db.column("TRANS_DIV"), QStringList{"9"});

  main.cmdWork_Click(1); // nothing changed: back to browse without a question
  ui->clear();
  ui->answers.enqueue(Answer::Yes);
  QTest::mouseClick(cmdTrans, Qt::LeftButton);
  EXPECT_EQ(ui->texts().last(), QStringLiteral("정상적으로 전송되었습니다."));
  EXPECT_EQ(db.column("TRANS_DIV"), QStringList{"1"});
  EXPECT_TRUE(screen->findChild<QWidget*>(QStringLiteral("picTrans"))->isVisible());
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

TEST_F(LedgerScreenTest, SplitTypingAndThePickerThroughTheWidgets)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 100000}, {"D02", "001", 2, "102", "001", 0, 2000}});
  MainWindow main;
  auto* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  // The screen sees keys first: Ctrl+F goes to the search box, Enter elsewhere moves on.
  screen->findChild<GridView*>(QStringLiteral("sprDeal"))->setFocus();
  ASSERT_TRUE(QApplication::focusWidget());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  auto* search = screen->findChild<QWidget*>(QStringLiteral("txtSearch"));
  EXPECT_TRUE(search->hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_FALSE(search->hasFocus()) << "Enter moved to the next control";

  main.cmdWork_Click(1);
  QApplication::processEvents();
  auto* view = screen->findChild<GridView*>(QStringLiteral("sprDeal"));
  Grid& g = view->grid();
  auto centre = [&](int col, int row) { return view->visualRect(view->model()->index(row - 1, col - 1)).center(); };

  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(deal::Summary, 1));
  QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("cmdRowAdd_Divide_2")), Qt::LeftButton);
  ASSERT_EQ(g.rowCount(), 4);
  EXPECT_EQ(g.text(deal::SplitSource, 2), QStringLiteral("D01001"));

  // Every keystroke in a part's amount moves the source; Escape takes the typing back.
  for (const auto& [row, typed, escape, source] :
       {std::tuple{2, "30000", false, "70,000"}, std::tuple{3, "5000", true, "70,000"},
        std::tuple{3, "20000", false, "50,000"}}) {
    g.setActiveCell(deal::OutAmount, row);
    view->setFocus();
    QTest::keyClick(view, typed[0]);
    QLineEdit* editor = nullptr; // the one open now; closed ones wait for their deletion
    for (auto* e : view->viewport()->findChildren<QLineEdit*>())
      if (e->isVisible())
        editor = e;
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, QString::fromLatin1(typed + 1));
    if (escape) {
      EXPECT_EQ(g.text(deal::OutAmount, 1), QStringLiteral("65,000")) << "the source follows the typing";
    }
    QTest::keyClick(editor, escape ? Qt::Key_Escape : Qt::Key_Return);
    EXPECT_EQ(g.text(deal::OutAmount, 1), QLatin1String(source)) << row << " " << typed;
  }

  // The "▼" beside the account opens the picker next to the cell; a double click picks.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(deal::AccountButton, 2));
  auto* picker = screen->findChild<QFrame*>(QStringLiteral("picCbo_Acc"));
  ASSERT_TRUE(picker->isVisible());
  const QRect cell = view->visualRect(view->model()->index(1, deal::Account - 1))
                         .translated(view->viewport()->mapTo(picker->parentWidget(), QPoint(0, 0)));
  const QRect placed = picker->geometry();
  EXPECT_TRUE(placed.top() == cell.bottom() + 1 || placed.bottom() + 1 == cell.top()) << "directly under or above";
  EXPECT_EQ(placed.left(), cell.left());
  EXPECT_TRUE(picker->parentWidget()->rect().contains(placed));
  auto* list = screen->findChild<GridView*>(QStringLiteral("sprCbo_Acc"));
  const int row = list->grid().searchColumn(picker::Name, 1, list->grid().rowCount(), QStringLiteral("수용비"));
  ASSERT_GT(row, 0);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                     list->visualRect(list->model()->index(row - 1, picker::Name - 1)).center());
  EXPECT_EQ(g.text(deal::Account, 2), QStringLiteral("102.수용비"));
  EXPECT_FALSE(picker->isVisible());

  // The right click offers the split menu at the mouse.
  QTest::mouseClick(view->viewport(), Qt::RightButton, {}, centre(deal::Summary, 4));
  auto* menu = screen->findChild<QMenu*>(QStringLiteral("pMenu"));
  EXPECT_TRUE(menu->isVisible());
  EXPECT_EQ(screen->ledger().Cur_Row, 4);
  menu->hide();

  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
  main.cmdWork_Click(2);
  EXPECT_EQ(ui->texts().value(0), QStringLiteral("[ 3 ]건이 정상적으로 저장되었습니다."));
  EXPECT_EQ(db.column("DEAL_OUT_AMT"), (QStringList{"50000", "30000", "20000", "2000"}));
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

TEST_F(LedgerScreenTest, AtTheMainWindowsSizeTheLedgerFillsItsFrameAndShowsEveryColumnUncut)
{
  // A busy month (three-digit row numbers) with the widest entries the columns take: a
  // full date, five-digit codes, the largest amounts.
  QList<DealRow> deals{{"88888", "888", 2, "101", "001", 999999999, 999999999}};
  for (int i = 1; i < 150; ++i)
    deals.push_back({QString::number(i).rightJustified(5, u'0'), "001", 1, "201", "003", 2000, 0});
  db.addDeals(deals);
  const QFont oldFont = QApplication::font();
  installAppearance(); // the program's font: the widths below depend on it
  registerLedgerScreen();
  MainWindow main;
  main.show();
  auto* screen = qobject_cast<LedgerScreen*>(main.showLedger());
  ASSERT_TRUE(screen);
  screen->ledger().form.mskM = LedgerDb::Month;
  screen->Form_Activate();
  QApplication::processEvents();

  const QSize defaultSize = main.size();
  // Ends at the default size, where every column through 지출금액 must show.
  for (const QSize size : {QSize(1600, 1000), QSize(1000, 700), defaultSize}) {
    main.resize(size);
    QApplication::processEvents();
    const auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->geometry(), main.mdiArea()->viewport()->rect()) << size.width();
    // Nothing of the screen's own panels reaches past its bottom or right edge.
    for (const char* name : {"picMain", "tabDeal", "xBar", "sprDeal", "picEasy"}) {
      auto* w = screen->findChild<QWidget*>(QLatin1String(name));
      const QRect r(w->mapTo(screen, QPoint(0, 0)), w->size());
      EXPECT_TRUE(screen->rect().contains(r)) << name << " at " << size.width();
    }
  }

  auto* view = screen->findChild<GridView*>(QStringLiteral("sprDeal"));
  const Grid& g = view->grid();
  const int last = view->columnViewportPosition(deal::OutAmount - 1) + view->columnWidth(deal::OutAmount - 1);
  EXPECT_LE(last, view->viewport()->width()) << "every column through 지출금액 shows without scrolling";
  const QFontMetricsF metrics(view->font()); // fractional: a text wider by a fraction is elided
  for (const int c : {deal::DealDate, deal::DealCode, deal::PartNo, deal::InAmount, deal::OutAmount}) {
    // A cell draws its text inside 2 pixels each side, left of its grid line.
    const int room = view->columnWidth(c - 1) - (view->showGrid() ? 1 : 0) - 4;
    for (int r = 1; r <= g.rowCount(); ++r)
      EXPECT_LE(metrics.horizontalAdvance(g.text(c, r)), room) << "column " << c << " cuts " << g.text(c, r).toStdString();
  }
  MainWindow::setChildFactory(Ledger::ScreenName, {});
  QApplication::setFont(oldFont);
}

TEST_F(LedgerScreenTest, TypedMonthSearchBoxPopupAndManualThroughTheWidgets)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}});
  db.addDeals({{"A01", "001", 2, "101", "001", 0, 1000, 9, "점심 식비"},
               {"A02", "001", 2, "101", "001", 0, 2000, 9, "전기요금"},
               {"A03", "001", 2, "102", "001", 0, 3000, 9, "저녁 식비"},
               {"A04", "001", 2, "103", "001", 0, 4000, 9, "간식 식비"}},
              QStringLiteral("2024.04"));
  Session.ManualHost = QStringLiteral("manual.test");
  MainWindow main;
  auto* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  Ledger& l = screen->ledger();
  ASSERT_EQ(l.sprDeal.rowCount(), 1);

  auto* month = screen->findChild<QLineEdit*>(QStringLiteral("msk_M"));
  month->setFocus();
  month->selectAll();
  QTest::keyClick(month, Qt::Key_Backspace);
  QTest::keyClicks(month, QStringLiteral("202404"));
  EXPECT_EQ(l.form.mskM, QStringLiteral("2024.04"));
  EXPECT_EQ(l.sprDeal.rowCount(), 4);

  QTest::mouseClick(screen->findChild<QRadioButton*>(QStringLiteral("optSearch_2")), Qt::LeftButton);
  auto* search = screen->findChild<QWidget*>(QStringLiteral("txtSearch"));
  search->setFocus();
  for (const QChar c : QStringLiteral("식비")) { // committed Hangul arrives as key events with text
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(QApplication::focusWidget(), &typed);
  }
  EXPECT_EQ(l.form.txtSearch, QStringLiteral("식비"));

  // Enter searches: three matches open the popup; a double click on its second row
  // moves the ledger to that entry.
  int listed = 0;
  QString label;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<SearchPopupDialog*>(QApplication::activeModalWidget());
    if (!dialog)
      return;
    auto* spr = dialog->findChild<GridView*>(QStringLiteral("spr"));
    listed = spr->grid().rowCount();
    label = dialog->findChild<QLabel*>(QStringLiteral("lblAcc"))->text();
    QTest::mouseDClick(spr->viewport(), Qt::LeftButton, {}, spr->visualRect(spr->model()->index(1, 1)).center());
    if (dialog->isVisible())
      dialog->reject();
  });
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(listed, 3);
  EXPECT_EQ(label, QStringLiteral("101.생계비(2024.05.03)"));
  EXPECT_EQ(l.Search_Row, 3);
  EXPECT_EQ(l.Cur_Row, 3);
  EXPECT_EQ(l.sprDeal.activeRow(), 3);
  EXPECT_EQ(search->findChild<QTextEdit*>()->toPlainText(), QStringLiteral("식비")) << "Enter adds no line";

  UrlCatcher browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
  QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("cmdManual")), Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  EXPECT_EQ(browser.url, QUrl(QStringLiteral("https://manual.test/M_H/M_01")));
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

/// Types `text` into the grid's active cell as the member does: the first key opens the
/// editor, the rest go into it; then `end` (Return, Escape or none).
void typeIntoCell(GridView* view, const QString& text, std::optional<Qt::Key> end = Qt::Key_Return)
{
  view->setFocus();
  QTest::keyClick(view, text.at(0).toLatin1());
  QLineEdit* editor = nullptr;
  for (auto* e : view->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible())
      editor = e;
  ASSERT_TRUE(editor) << text.toStdString();
  QTest::keyClicks(editor, text.mid(1));
  if (end)
    QTest::keyClick(editor, *end);
}

TEST_F(LedgerScreenTest, KeyboardFirstEntryEnterWalksTheRowAndTheFocusStaysInTheGrid)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 2, "102", "001", 0, 2000}});
  MainWindow main;
  auto* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  auto* view = screen->findChild<GridView*>(QStringLiteral("sprDeal"));
  Grid& g = view->grid();
  auto* bar = screen->findChild<QProgressBar*>(QStringLiteral("xBar"));
  auto active = [&] { return std::pair{g.activeColumn(), g.activeRow()}; };

  // Browse: what the member types is refused with a word in the status line, not a box.
  g.setActiveCell(deal::Summary, 1);
  view->setFocus();
  QTest::keyClicks(view, QStringLiteral("ab"));
  EXPECT_EQ(bar->format(), Ledger::BrowseTypingHint);
  EXPECT_FALSE(view->isEditing());
  EXPECT_TRUE(ui->messages.isEmpty());

  // 수정 with the focus in the search box, which work disables: the grid takes the focus.
  screen->findChild<QWidget*>(QStringLiteral("txtSearch"))->setFocus();
  QTest::mouseClick(main.cmdWork(1), Qt::LeftButton);
  ASSERT_EQ(main.cmdWork(1)->tag(), QStringLiteral("WORK"));
  EXPECT_TRUE(view->hasFocus());
  EXPECT_EQ(bar->format(), QString()) << "the hint goes with the browse state";

  // Enter commits the cell and goes on to the next one the member types into; after the
  // person concerned, to the next row's account.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                    view->visualRect(view->model()->index(0, deal::Summary - 1)).center());
  const struct {
    const char* typed; // empty: Enter alone
    std::pair<int, int> after;
  } steps[] = {{"lunch", {deal::Customer, 1}},
               {"mart", {deal::InAmount, 1}},
               {"", {deal::OutAmount, 1}},
               {"700", {deal::Target, 1}},
               {"kim", {deal::Account, 2}}};
  for (const auto& s : steps) {
    if (*s.typed)
      typeIntoCell(view, QLatin1String(s.typed));
    else
      QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(active(), s.after) << s.typed;
    EXPECT_FALSE(view->isEditing()) << s.typed;
    EXPECT_TRUE(view->hasFocus()) << s.typed;
  }
  EXPECT_EQ((QStringList{g.text(deal::Summary, 1), g.text(deal::Customer, 1), g.text(deal::OutAmount, 1),
                         g.text(deal::Target, 1)}),
            (QStringList{"lunch", "mart", "700", "kim"}));
  EXPECT_EQ(screen->ledger().Cur_Row, 2);
  EXPECT_EQ(screen->findChild<QLabel*>(QStringLiteral("lbl_TInfo_2"))->text(), QStringLiteral("2,700"))
      << "the totals follow a committed amount";

  // A split button takes the click, the grid the next keystroke: on the new part.
  QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("cmdRowAdd_Divide_1")), Qt::LeftButton);
  ASSERT_EQ(g.rowCount(), 3);
  EXPECT_TRUE(view->hasFocus());
  EXPECT_EQ(active(), std::pair(int(deal::Account), 3));
  typeIntoCell(view, QStringLiteral("x"), std::nullopt);
  EXPECT_TRUE(view->isEditing());
  EXPECT_EQ(view->currentIndex(), view->model()->index(2, deal::Account - 1));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

  // So does a command of the pop-up menu.
  QTest::mouseClick(view->viewport(), Qt::RightButton, {},
                    view->visualRect(view->model()->index(2, deal::Summary - 1)).center());
  auto* menu = screen->findChild<QMenu*>(QStringLiteral("pMenu"));
  ASSERT_TRUE(menu->isVisible());
  menu->findChild<QAction*>(QStringLiteral("subRowDel"))->trigger();
  menu->hide();
  EXPECT_EQ(g.rowCount(), 2);
  EXPECT_TRUE(view->hasFocus());
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("정상적으로 삭제되었습니다.")});
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

TEST_F(LedgerScreenTest, TheSearchConditionsShowBesideTheTotalsAndClearWithOneClick)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000, 9, "점심 식비"},
               {"D02", "001", 2, "101", "001", 0, 2000, 9, "전기요금"}});
  db.addDeal({"A01", "001", 2, "101", "001", 0, 3000, 9, "전기요금"}, QStringLiteral("2024.04"));
  MainWindow main;
  auto* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  auto* panel = screen->findChild<QFrame*>(QStringLiteral("picFilter"));
  auto* count = screen->findChild<QLabel*>(QStringLiteral("lbl_TInfo_0"));
  EXPECT_FALSE(panel->isVisible());

  // A summary searched for earlier still filters a month back; the line beside the
  // totals says why nothing shows.
  QTest::mouseClick(screen->findChild<QRadioButton*>(QStringLiteral("optSearch_2")), Qt::LeftButton);
  screen->ledger().form.txtSearch = QStringLiteral("식비");
  QTest::mouseClick(screen->findChild<QToolButton*>(QStringLiteral("Dat_M_1")), Qt::LeftButton);
  EXPECT_EQ(screen->ledger().sprDeal.rowCount(), 0);
  EXPECT_EQ(count->text(), QStringLiteral("0 건"));
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->findChild<QLabel*>(QStringLiteral("lblFilter"))->text(),
            QStringLiteral("검색 조건에 맞는 거래내역이 없습니다.\n조건: 적요 '식비'"));
  // Beside the totals, whole inside the frame and the screen.
  const auto* frame = screen->findChild<QWidget*>(QStringLiteral("fraMain"));
  EXPECT_GT(panel->x(), screen->findChild<QLabel*>(QStringLiteral("lbl_TInfo_0"))->geometry().right());
  EXPECT_TRUE(frame->rect().contains(panel->geometry()));
  EXPECT_TRUE(screen->rect().contains(QRect(frame->mapTo(screen, QPoint(0, 0)), frame->size())));

  QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("cmdFilterClear")), Qt::LeftButton);
  EXPECT_EQ(screen->ledger().sprDeal.rowCount(), 1);
  EXPECT_EQ(count->text(), QStringLiteral("1 건"));
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(screen->findChild<QWidget*>(QStringLiteral("txtSearch"))->findChild<QTextEdit*>()->toPlainText(),
            QString());
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}

#include "LedgerScreenTest.moc"

TEST_F(LedgerScreenTest, AccountProposalsShowGreyAndAreTakenByF4TheButtonAndTakenBackByCtrlZ)
{
  // Last month's habits: O'Neil 상사 is paid for supplies, 김철수 pays his co-payment.
  DealRow oneil{"H01", "001", 2, "102", "001", 0, 5000};
  oneil.customer = QStringLiteral("O'Neil 상사");
  DealRow kim{"H02", "001", 1, "201", "001", 30000, 0};
  kim.customer = QStringLiteral("김철수");
  DealRow oneil2 = oneil, oneil3 = oneil;
  oneil2.code = QStringLiteral("H03");
  oneil3.code = QStringLiteral("H04");
  db.addDeals({oneil, oneil2, oneil3, kim}, QStringLiteral("2024.04"));
  DealRow d01{"D01", "001", 2, "", "001", 0, 7000};
  d01.customer = oneil.customer;
  DealRow part = d01;
  part.part = QStringLiteral("002"); // a split part gets no proposal
  DealRow d02{"D02", "001", 1, "", "001", 40000, 0};
  d02.customer = kim.customer;
  DealRow d03{"D03", "001", 2, "", "001", 0, 900};
  d03.summary = QStringLiteral("처음 보는 지출");
  db.addDeals({d01, part, d02, d03});

  MainWindow main;
  auto* screen = showInMainWindow(main, LedgerDb::Month);
  ASSERT_TRUE(screen);
  auto* view = screen->findChild<GridView*>(QStringLiteral("sprDeal"));
  Grid& g = view->grid();
  EXPECT_TRUE(g.hint(deal::Account, 1).isEmpty()) << "no proposals while browsing";
  main.cmdWork_Click(1);
  QApplication::processEvents();
  EXPECT_EQ(g.hint(deal::Account, 1), QStringLiteral("102.수용비"));
  EXPECT_EQ(view->model()->index(0, deal::Account - 1).data(Qt::ToolTipRole).toString(),
            QStringLiteral("거래처 [O'Neil 상사] 지난 12개월 3회"));
  EXPECT_TRUE(g.hint(deal::Account, 2).isEmpty());
  EXPECT_EQ(g.hint(deal::Account, 3), QStringLiteral("201.본인부담금"));
  EXPECT_TRUE(g.hint(deal::Account, 4).isEmpty());
  EXPECT_TRUE(g.text(deal::Account, 1).isEmpty()) << "a proposal is not a value";
  EXPECT_FALSE(g.flag(deal::Changed, 1));

  auto key = [&](int row, Qt::Key k, Qt::KeyboardModifiers mods = {}) {
    g.setActiveCell(deal::Summary, row);
    view->setFocus();
    QTest::keyClick(view, k, mods);
  };
  key(1, Qt::Key_F4);
  EXPECT_EQ(g.text(deal::Account, 1), QStringLiteral("102.수용비"));
  EXPECT_TRUE(g.flag(deal::Changed, 1));
  key(1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(g.text(deal::Account, 1).isEmpty());
  EXPECT_FALSE(g.flag(deal::Changed, 1));
  EXPECT_EQ(g.hint(deal::Account, 1), QStringLiteral("102.수용비"));

  QTest::mouseClick(screen->findChild<QPushButton*>(QStringLiteral("cmdApplyProposals")), Qt::LeftButton);
  EXPECT_EQ(ui->texts().value(0), QStringLiteral("제안 계정 [ 2 ]건을 적용하였습니다."));
  EXPECT_EQ(g.text(deal::Account, 3), QStringLiteral("201.본인부담금"));
  key(1, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(g.text(deal::Account, 1).isEmpty() && g.text(deal::Account, 3).isEmpty()) << "one press, one undo";

  // Only what was taken is saved; the grey proposal of D01 stays out of the database.
  key(3, Qt::Key_F4);
  ui->clear();
  main.cmdWork_Click(2);
  EXPECT_EQ(ui->texts().value(0), QStringLiteral("[ 1 ]건이 정상적으로 저장되었습니다."));
  EXPECT_EQ(db.column("DACC_CD"), (QStringList{"", "", "201", ""}));
  EXPECT_TRUE(g.hint(deal::Account, 1).isEmpty()) << "leaving work forgets the proposals";
  MainWindow::setChildFactory(Ledger::ScreenName, {});
}
