// Month change, search, closing transfer and export against the test database.
#include "LedgerFixture.h"

#include "ledger/SearchPopup.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

using namespace vcm;
using namespace vcm::test;

namespace {

const QString kDateMessage = QStringLiteral("날짜 형식이 잘못되었습니다. 다시 설정하세요.");
const QString kWorkRight = QStringLiteral("현재 작업권한이 [베트라케어]에 있습니다.\n\n작업을 취소합니다.");
const QString kSent = QStringLiteral("정상적으로 전송되었습니다.");
const QString kPendingWork = QStringLiteral("수정작업 중에는 마감 전송을 할 수 없습니다.\n\n"
                                            "작업을 저장하거나 취소한 후 다시 전송해주세요.");

class LedgerSearchTest : public LedgerFixture {
protected:
  /// A popup without widgets stands in for the dialog: it records what it was given
  /// and confirms `pick` (0 closes it with 닫기).
  void popupPicks(int pick)
  {
    ledger->showSearchPopup = [this, pick](const SearchList& matches) {
      shown.push_back(int(matches.size()));
      Grid grid;
      SearchPopup popup(grid);
      popup.Call_Frm = Ledger::ScreenName;
      popup.ledgerSearchRow = &ledger->Search_Row;
      popup.Set_Search_List(matches, 1);
      if (pick == 0) {
        popup.cmdClose_Click();
      } else {
        popup.spr_Click(found::Account, pick);
        popup.cmdSel_Click();
      }
    };
  }
  void search(int option, const QString& text, int classOption = 1)
  {
    ledger->form.optSearch = option;
    ledger->form.optSearchF = classOption;
    ledger->form.txtSearch = text;
    ledger->cmdSearch_Click();
  }
  void addSummaries()
  {
    db.addDeals({{"D01", "001", 2, "101", "001", 0, 50000, 9, "점심 식비"},
                 {"D02", "001", 1, "201", "001", 50000, 0, 9, "본인부담"},
                 {"D03", "001", 2, "101", "001", 0, 8000, 9, "저녁 식비"},
                 {"D04", "001", 2, "102", "001", 0, 30000, 9, "간식 식비"},
                 {"D05", "001", 2, "103", "001", 0, 9000, 9, "전기요금"}});
  }
  std::vector<int> shown;
};

} // namespace

TEST_F(LedgerSearchTest, SpinButtonsTypingAndTheCalendarChangeTheMonth)
{
  db.addDeal({"J01", "001", 2, "101", "001", 0, 1000}, QStringLiteral("2024.01"));
  db.addDeals({{"C01", "001", 2, "101", "001", 0, 1000}, {"C02", "001", 2, "101", "001", 0, 2000}},
              QStringLiteral("2023.12"));
  Ledger& l = open(QStringLiteral("2024.01"));
  ASSERT_EQ(rows(), 1);
  l.Dat_M_ButtonHit(1);
  EXPECT_EQ(l.form.mskM, QStringLiteral("2023.12"));
  EXPECT_EQ(rows(), 2);
  l.Dat_M_ButtonHit(2);
  EXPECT_EQ(l.form.mskM, QStringLiteral("2024.01"));
  EXPECT_EQ(rows(), 1);
  l.Dat_M_ButtonHit(3);
  EXPECT_EQ(l.form.mskM, QStringLiteral("2024.01"));

  l.form.mskM = QStringLiteral("2024.1");
  l.msk_M_Change();
  EXPECT_EQ(rows(), 0);
  EXPECT_TRUE(ui->messages.isEmpty());

  l.form.mskM = QStringLiteral("2024.13");
  l.msk_M_Change();
  EXPECT_EQ(ui->texts(), QStringList{kDateMessage});
  EXPECT_EQ(l.form.mskM, QString());
  EXPECT_EQ(rows(), 0);
  EXPECT_TRUE(l.form.datMEnabled && l.form.dealEnabled);

  l.cmdMon_Click();
  EXPECT_TRUE(l.form.monVVisible);
  l.MonV_DateClick(QDate(2023, 12, 27));
  EXPECT_EQ(l.form.mskM, QStringLiteral("2023.12"));
  EXPECT_FALSE(l.form.monVVisible);
  EXPECT_EQ(rows(), 2);
}

TEST_F(LedgerSearchTest, AmountSearchFindsEitherColumnAndRefusesText)
{
  addSummaries();
  Ledger& l = open();
  popupPicks(2);
  search(4, QStringLiteral("50,000"));
  EXPECT_EQ(shown, std::vector<int>{2});
  EXPECT_EQ(l.Cur_Row, 2);
  EXPECT_EQ(l.sprDeal.activeRow(), 2);
  EXPECT_EQ(l.sprDeal.activeColumn(), deal::DealCode);

  search(4, QStringLiteral("5만"));
  EXPECT_EQ(ui->texts(), QStringList{"조건이 [금액]일 경우 숫자를 기입해주세요."});
  EXPECT_EQ(rows(), 5);
}

TEST_F(LedgerSearchTest, SummarySearchSelectsOneOpensThePopupOrReloads)
{
  addSummaries();
  Ledger& l = open();
  popupPicks(3);
  search(2, QStringLiteral("저녁"));
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(l.Cur_Row, 3);

  search(2, QStringLiteral("식비"));
  EXPECT_EQ(shown, std::vector<int>{3});
  EXPECT_EQ(l.Cur_Row, 4) << "the third match is ledger row 4";

  popupPicks(0);
  l.sprDeal_Click(deal::DealCode, 1);
  search(2, QStringLiteral("식비"));
  EXPECT_EQ(l.Cur_Row, 1) << "closed without a choice";

  // No match with 전체: the month is reloaded with the summary as the database's filter;
  // an apostrophe cannot break that statement.
  search(2, QStringLiteral("O'Neil"));
  EXPECT_TRUE(l.SqlText.contains(QStringLiteral("DEAL_SUMM LIKE '%O''Neil%'"))) << l.SqlText.toStdString();
  EXPECT_EQ(rows(), 0);
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
}

TEST_F(LedgerSearchTest, TheReloadFilterMatchesTheTypedTextLiterally)
{
  // The server reads backslashes in literals (legacy sql_mode): the pattern must
  // survive that and LIKE alike.
  const QStringList summaries{"할인 500", "할인 50%", "a_b", "axb", "O'Brien",
                              "back\\slash", "backslash", "100%_\\'", "a!b", "1000_x"};
  QList<DealRow> deals;
  for (int i = 0; i < summaries.size(); ++i)
    deals.push_back({QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0')), "001", 2, "101", "001", 0, 1000, 9,
                     summaries[i]});
  db.addDeals(deals);
  const struct {
    const char* text;
    QStringList found;
  } cases[] = {
      {"50%", {"할인 50%"}},
      {"500", {"할인 500"}},
      {"a_b", {"a_b"}},
      {"_", {"a_b", "100%_\\'", "1000_x"}},
      {"%", {"할인 50%", "100%_\\'"}},
      {"%_", {"100%_\\'"}},
      {"O'Brien", {"O'Brien"}},
      {"'", {"O'Brien", "100%_\\'"}},
      {"back\\slash", {"back\\slash"}},
      {"\\", {"back\\slash", "100%_\\'"}},
      {"100%_\\'", {"100%_\\'"}},
      {"\\'", {"100%_\\'"}},
      {"!", {"a!b"}},
      {"a!b", {"a!b"}},
      {"!b", {"a!b"}},
  };
  Ledger& l = open();
  for (const auto& c : cases) {
    l.form.optSearch = 2;
    l.form.txtSearch = QString::fromUtf8(c.text);
    l.Set_Basic_info();
    EXPECT_EQ(column(deal::Summary), c.found) << c.text;
  }
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
}

TEST_F(LedgerSearchTest, ANoMatchOnScreenReloadsOnlyRowsHoldingTheTypedText)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 500, 9, "할인 500"},
               {"D02", "001", 2, "101", "001", 0, 800, 9, "식비"}});
  Ledger& l = open();
  ASSERT_EQ(rows(), 2);
  search(2, QStringLiteral("50%"));
  EXPECT_EQ(rows(), 0) << "할인 500 does not hold 50%";
  EXPECT_TRUE(ui->messages.isEmpty());

  // A row that holds it, entered elsewhere, is what the reload brings.
  db.addDeal({"D03", "001", 2, "101", "001", 0, 700, 9, "할인 50% 적용"});
  search(2, QStringLiteral("50%"));
  EXPECT_EQ(column(deal::Summary), QStringList{"할인 50% 적용"});
  EXPECT_EQ(l.Cur_Row, 1);
}

TEST_F(LedgerSearchTest, NoMatchUnderAnIncomeOrExpenseFilterAsksForAll)
{
  addSummaries();
  const QString question = QStringLiteral("[수입ㆍ지출] 옵션 중에 [만두] 내역을 가진 거래내역이 존재하지 않습니다.\n\n"
                                          "전체로 검색하시겠습니까?");
  for (const Answer answer : {Answer::No, Answer::Yes}) {
    Ledger& l = open();
    l.form.optSearchF = 3;
    l.Set_Basic_info();
    ASSERT_EQ(rows(), 4);
    ui->clear();
    ui->answers.enqueue(answer);
    search(2, QStringLiteral("만두"), 3);
    EXPECT_EQ(ui->texts(), QStringList{question});
    EXPECT_EQ(ui->messages.value(0).icon, Icon::Question);
    EXPECT_EQ(l.form.optSearchF, answer == Answer::Yes ? 1 : 3);
    EXPECT_EQ(rows(), answer == Answer::Yes ? 0 : 4) << "Yes reloads the whole month filtered by 만두";
  }
}

TEST_F(LedgerSearchTest, TotalsAndTheConditionsLineFollowTheRowsOnScreen)
{
  addSummaries(); // 2024.05: three 식비 entries among five
  db.addDeal({"A01", "001", 2, "103", "001", 0, 7000, 9, "전기요금"}, QStringLiteral("2024.04"));
  Ledger& l = open();
  const QString applied = QStringLiteral("검색 조건 적용 중\n조건: ");
  const QString nothing = QStringLiteral("검색 조건에 맞는 거래내역이 없습니다.\n조건: ");
  const struct {
    const char* step;
    std::function<void()> act;
    int rows;
    const char* count;
    const char* expense;
    QString line;
  } steps[] = {
      {"opened", [] {}, 5, "5 건", "97,000", QString()},
      // The search text stays in force for the next month, and says so.
      {"search text kept, a month back",
       [&] {
         l.form.optSearch = 2;
         l.form.txtSearch = QStringLiteral("식비");
         l.Dat_M_ButtonHit(1);
       },
       0, "0 건", "0", nothing + QStringLiteral("적요 '식비'")},
      {"and forward again", [&] { l.Dat_M_ButtonHit(2); }, 3, "3 건", "88,000", applied + QStringLiteral("적요 '식비'")},
      {"cleared", [&] { l.cmdFilterClear_Click(); }, 5, "5 건", "97,000", QString()},
      {"split in work",
       [&] {
         l.AAA_Cmd_Work(1);
         l.sprDeal_Click(deal::Summary, 1);
         l.cmdRowAdd_Divide_Click(2);
       },
       7, "7 건", "97,000", QString()},
      {"cancelled", [&] { ui->answers.enqueue(Answer::Yes); l.AAA_Cmd_Work(1); }, 5, "5 건", "97,000", QString()},
      {"a refused month", [&] { l.form.mskM = QStringLiteral("2024.0"); l.msk_M_Change(); }, 0, "0 건", "0", QString()},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(rows(), s.rows) << s.step;
    EXPECT_EQ(l.form.totals[0], QString::fromUtf8(s.count)) << s.step;
    EXPECT_EQ(l.form.totals[2], QLatin1String(s.expense)) << s.step;
    EXPECT_EQ(l.form.filterInfo, s.line) << s.step;
  }
}

TEST_F(LedgerSearchTest, ClosingMarksTheWholeMonthAndThenRefusesWork)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 1, "201", "001", 2000, 0},
               {"D03", "001", 2, "101", "001", 0, 3000, 0}});
  db.addDeal({"X01", "001", 2, "101", "001", 0, 1000}, QStringLiteral("2024.04"));
  Ledger& l = open();
  l.form.optSearchF = 2; // the grid shows the income entry only
  l.Set_Basic_info();
  ASSERT_EQ(rows(), 1);
  ui->answers.enqueue(Answer::Yes);
  l.cmdTrans_Click();
  EXPECT_EQ(ui->texts(), (QStringList{"거래내역을 [베트라케어 마감 전송]을 하시겠습니까?", kSent}));
  EXPECT_EQ(ui->messages.value(1).icon, Icon::Information);
  EXPECT_EQ(db.column("TRANS_DIV"), (QStringList{"1", "1", "1"}));
  EXPECT_EQ(db.column("TRANS_DIV", QStringLiteral("2024.04")), QStringList{"9"});
  EXPECT_TRUE(l.form.picTransVisible);
  EXPECT_EQ(l.form.picTransTag, QStringLiteral("1"));

  // Refused now, and after a reload too: work, split, delete and a second transfer.
  for (bool reload : {false, true}) {
    if (reload)
      l.Set_Basic_info();
    ui->clear();
    l.AAA_Cmd_Work(1);
    l.sprDeal_Click(deal::DealCode, 1);
    l.cmdRowAdd_Divide_Click(1);
    l.sprDeal.setText(deal::Check, 1, QStringLiteral("1"));
    l.AAA_Cmd_Work(3);
    l.cmdTrans_Click();
    EXPECT_EQ(ui->texts(), (QStringList{kWorkRight, kWorkRight, kWorkRight, kWorkRight})) << reload;
    EXPECT_EQ(host.tags[1], QString());
    EXPECT_EQ(db.column("DEAL_CD").size(), 3);
  }
}

TEST_F(LedgerSearchTest, AClosingThatFailsLeavesTheMonthOpen)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}});
  // The server refuses the closing statement for the test company only.
  be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS ledger_test_refuse_close"));
  be.adminExec(QStringLiteral(
      "CREATE TRIGGER ledger_test_refuse_close BEFORE UPDATE ON DEAL_LIST FOR EACH ROW "
      "BEGIN IF NEW.COM_CD = 'LT01' AND NEW.TRANS_DIV = 1 THEN "
      "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'closing refused'; END IF; END"));
  struct DropTrigger {
    Backend& be;
    ~DropTrigger() { be.adminExec(QStringLiteral("DROP TRIGGER IF EXISTS ledger_test_refuse_close")); }
  } drop{be};

  Ledger& l = open();
  ui->answers.enqueue(Answer::Yes);
  l.cmdTrans_Click();
  EXPECT_FALSE(l.form.picTransVisible);
  EXPECT_EQ(l.form.picTransTag, QString());
  EXPECT_FALSE(ui->texts().contains(kSent));
  EXPECT_TRUE(ui->messages.value(1).title.startsWith(QStringLiteral("오류안내("))) << ui->texts().join(u'|').toStdString();
  EXPECT_EQ(ui->texts().last(),
            QStringLiteral("마감 전송을 하지 못했습니다.\n\n거래내역을 다시 불러와 확인한 후 다시 전송해주세요."));
  EXPECT_EQ(db.column("TRANS_DIV"), QStringList{"9"});

  // A month without entries has nothing to close.
  ui->clear();
  l.form.mskM = QStringLiteral("2024.02");
  ui->answers.enqueue(Answer::Yes);
  l.cmdTrans_Click();
  EXPECT_EQ(ui->texts().last(), QStringLiteral("전송할 거래내역이 존재하지 않습니다."));
  EXPECT_FALSE(l.form.picTransVisible);
}

TEST_F(LedgerSearchTest, AMonthAnotherComputerSentShowsAsClosed)
{
  // Loaded while open; then another computer sends it (all of it, or the rows this one
  // shows only). Marking rows that already hold 1 still closes the month here.
  for (const char* sentElsewhere : {"DEAL_CD <> ''", "DEAL_CD = 'D01'"}) {
    db.reset();
    db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 1, "201", "001", 2000, 0}});
    Ledger& l = open();
    ASSERT_EQ(l.form.picTransTag, QString());
    be.adminExec(QStringLiteral("UPDATE DEAL_LIST SET TRANS_DIV = 1 WHERE COM_CD = '%1' AND %2")
                     .arg(LedgerDb::Company, QLatin1String(sentElsewhere)));
    ui->clear();
    ui->answers.enqueue(Answer::Yes);
    l.cmdTrans_Click();
    EXPECT_EQ(ui->texts().last(), kSent) << sentElsewhere;
    EXPECT_TRUE(l.form.picTransVisible) << sentElsewhere;
    EXPECT_EQ(l.form.picTransTag, QStringLiteral("1")) << sentElsewhere;
    EXPECT_EQ(db.column("TRANS_DIV"), (QStringList{"1", "1"})) << sentElsewhere;
    ui->clear();
    l.AAA_Cmd_Work(1);
    EXPECT_EQ(ui->texts(), QStringList{kWorkRight}) << sentElsewhere;
  }
}

TEST_F(LedgerSearchTest, ClosingIsRefusedWhileWorkIsPending)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 1, "201", "001", 2000, 0}});
  Ledger& l = open();
  startWork();
  type(deal::Summary, 1, QStringLiteral("고친 적요"));
  l.cmdTrans_Click();
  ASSERT_EQ(ui->messages.size(), 1) << "no question, nothing sent";
  EXPECT_EQ(ui->messages[0].text, kPendingWork);
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(db.column("TRANS_DIV"), (QStringList{"9", "9"}));
  EXPECT_FALSE(l.form.picTransVisible);
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK")) << "the work and its change stay";
  EXPECT_EQ(cell(deal::Summary, 1), QStringLiteral("고친 적요"));
}

TEST_F(LedgerSearchTest, ExportCommandSavesTheMonthUnderTheCompanysName)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 1, "201", "001", 2000, 0}});
  QTemporaryDir dir;
  qputenv("VCM_PROGRAM_DIR", dir.path().toUtf8());
  Ledger& l = open();
  startWork(); // the export runs in either state
  const QString file = dir.filePath(QStringLiteral("month.xls"));
  ui->saveAnswers.enqueue(file);
  l.AAA_Cmd_Work(6);
  EXPECT_TRUE(ui->lastProposedName.endsWith(QStringLiteral("_시험센터_거래내역(2024.05월분).xls")))
      << ui->lastProposedName.toStdString();
  EXPECT_TRUE(QFile::exists(file));
  EXPECT_EQ(ui->texts(), QStringList{"엑셀파일이 정상적으로 저장되었습니다."});
  EXPECT_EQ(rows(), 2);
  EXPECT_EQ(host.tags[1], QStringLiteral("WORK"));
  qunsetenv("VCM_PROGRAM_DIR");
}

TEST_F(LedgerSearchTest, ProposalsLearnTheMonthItselfWhetherShownWholeOrNarrowed)
{
  // The month's own habit: 한빛주유소 went to 103 once; a later entry of it waits.
  db.addDeals({{"D01", "001", 2, "103", "001", 0, 5000, 9, "주유", 0, "01", "한빛주유소"},
               {"D02", "001", 2, "", "001", 0, 6000, 9, "주유 대금", 0, "01", "한빛주유소"}});
  for (const bool narrowed : {false, true}) {
    SCOPED_TRACE(narrowed ? "narrowed by a search: the server counts the month" : "whole: the grid counts it");
    Ledger& l = open();
    if (narrowed) {
      l.form.optSearch = 2;
      l.form.txtSearch = QStringLiteral("대금");
      l.Set_Basic_info();
    }
    ASSERT_EQ(rows(), narrowed ? 1 : 2);
    startWork();
    EXPECT_EQ(l.sprDeal.hint(deal::Account, rows()), QStringLiteral("103.공공요금"));
    EXPECT_EQ(l.sprDeal.hintReason(deal::Account, rows()), QStringLiteral("거래처 [한빛주유소] 지난 12개월 1회"));
    l.State_Div(QStringLiteral("CANCEL"));
  }
}
