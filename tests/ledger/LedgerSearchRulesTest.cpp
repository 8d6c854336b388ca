// The search's matching and the search popup, without a database or widgets.
#include "ledger/DealColumns.h"
#include "ledger/DealGridModel.h"
#include "ledger/DealSearch.h"
#include "ledger/FilterInfo.h"
#include "ledger/Ledger.h"
#include "ledger/LedgerColours.h"
#include "ledger/MonthText.h"
#include "ledger/SearchPopup.h"
#include "platform/ScriptedUi.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

/// Ledger rows: account, summary, counterpart, income, expense.
void fillDeal(Grid& g)
{
  DealGridModel::setupDeal(g);
  const struct {
    const char16_t* account;
    const char16_t* summary;
    const char16_t* customer;
    double in;
    double out;
  } rows[] = {
      {u"101.생계비", u"점심 식비", u"ABC마트", 0, 50000},
      {u"102.수용비", u"비품25개", u"abc상회", 0, 12000},
      {u"201.본인부담금", u"간식비", u"홍길동", 50000, 0},
      {u"101.생계비", u"다과 식비", u"*별표*", 0, 30000},
  };
  g.setRowCount(int(std::size(rows)));
  for (int r = 1; r <= g.rowCount(); ++r) {
    const auto& row = rows[r - 1];
    g.setText(deal::DealCode, r, QStringLiteral("D%1").arg(r));
    g.setText(deal::DealDate, r, QStringLiteral("2024.05.0%1").arg(r));
    g.setText(deal::Account, r, QString::fromUtf16(row.account));
    g.setText(deal::Summary, r, QString::fromUtf16(row.summary));
    g.setText(deal::Customer, r, QString::fromUtf16(row.customer));
    g.setNumber(deal::InAmount, r, row.in);
    g.setNumber(deal::OutAmount, r, row.out);
  }
}

SearchEntry entry(const char* code, const QString& account, const char* in, const char* out, const char* row)
{
  return {QString(), QLatin1String(code), QStringLiteral("2024.05.03"), account, QStringLiteral("적요"),
          QStringLiteral("거래처"), QLatin1String(in), QLatin1String(out), QLatin1String(row)};
}

class SearchPopupTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    popup.Call_Frm = Ledger::ScreenName;
    popup.ledgerSearchRow = &searchRow;
    popup.unload = [this] { ++unloads; };
    popup.Set_Search_List({entry("D1", QStringLiteral("생계비"), "1,500", "0", "4"),
                           entry("D2", QStringLiteral("수용비"), "0", "700", "9"),
                           entry("D3", QStringLiteral("공공요금"), "200", "300", "12")},
                          1);
  }

  ScopedScriptedUi ui;
  Grid grid;
  SearchPopup popup{grid};
  qint32 searchRow = -1;
  int unloads = 0;
};

} // namespace

TEST(DealSearchTest, RowsMatchByColumnPatternAndAmount)
{
  Grid g;
  fillDeal(g);
  const struct {
    int option;
    const char16_t* text;
    std::vector<int> rows;
  } cases[] = {
      {2, u"식비", {1, 3, 4}},
      {2, u"간식", {3}},
      {2, u"만두", {}},
      {3, u"abc", {1}},        // only the search text is upper-cased
      {2, u"비품#", {2}},       // one digit
      {2, u"점?", {1}},         // one character after 점
      {2, u"[가-나]식", {3}},   // 간 lies between 가 and 나
      {2, u"[!가-나]과", {4}},
      {3, u"[*]", {4}},         // a bracketed star is the character itself
      {1, u"생계", {1, 4}},
      {4, u"50,000", {1, 3}},   // income or expense
      {4, u"12000", {2}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DealSearch::matchingRows(g, c.option, QString::fromUtf16(c.text)), c.rows)
        << c.option << " " << QString::fromUtf16(c.text).toStdString();

  const std::pair<const char*, bool> numbers[] = {{"50,000", true}, {" 12 ", true}, {"1.5", true},
                                                  {"-3", true},     {"", false},    {"-", false},
                                                  {"abc", false},   {"1 2", false}};
  for (const auto& [text, numeric] : numbers)
    EXPECT_EQ(DealSearch::isNumber(QLatin1String(text)), numeric) << text;
  EXPECT_FALSE(DealSearch::isNumber(QStringLiteral("5만")));

  const SearchEntry e = DealSearch::entry(g, 3);
  EXPECT_EQ(QStringList(e.begin() + 1, e.end()),
            (QStringList{"D3", "2024.05.03", "201.본인부담금", "간식비", "홍길동", "50,000", "0", "3"}));

  const std::tuple<const char*, int, const char*> months[] = {
      {"2024.01", -1, "2023.12"}, {"2023.12", 1, "2024.01"}, {"2024.13", 1, ""}, {"", -1, ""}};
  for (const auto& [month, by, result] : months)
    EXPECT_EQ(MonthText::shifted(QLatin1String(month), by), QLatin1String(result)) << month;
}

TEST_F(SearchPopupTest, FillsColumnsColoursAndSelectsTheFirstRow)
{
  ASSERT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(popup.selectedRow(), 1);
  EXPECT_EQ(popup.lblAcc, QStringLiteral("생계비(2024.05.03)"));
  EXPECT_EQ(grid.background(found::Summary, 1), Colour(0xEFDEDE));
  EXPECT_EQ(grid.background(found::Summary, 2), colours::White);
  EXPECT_TRUE(grid.isColumnHidden(found::DealCode));
  EXPECT_TRUE(grid.isColumnHidden(found::LedgerRow));
  EXPECT_EQ(grid.text(found::ClassName, 0), QStringLiteral("구분"));

  const struct {
    int row;
    const char16_t* cls;
    Colour colour;
    const char* in;
    const char* out;
  } rows[] = {{1, u"수입", ledgerColours::IncomeText, "1,500", ""},
              {2, u"지출", ledgerColours::ExpenseText, "", "700"},
              {3, u"지출", ledgerColours::ExpenseText, "200", "300"}}; // 지출 wins over 수입
  for (const auto& r : rows) {
    EXPECT_EQ(grid.text(found::ClassName, r.row), QString::fromUtf16(r.cls)) << r.row;
    EXPECT_EQ(grid.foreground(found::ClassName, r.row), r.colour) << r.row;
    EXPECT_EQ(grid.text(found::InAmount, r.row), QLatin1String(r.in)) << r.row;
    EXPECT_EQ(grid.text(found::OutAmount, r.row), QLatin1String(r.out)) << r.row;
  }
  EXPECT_EQ(grid.cellType(found::InAmount, 1), CellType::Number);
  EXPECT_DOUBLE_EQ(grid.number(found::InAmount, 1), 1500);
}

TEST_F(SearchPopupTest, KeysMoveOneRowAndStopAtTheEnds)
{
  const std::tuple<int, int, int> presses[] = {{38, 1, 0}, {40, 2, 0}, {40, 3, 0}, {40, 3, 0}, {38, 2, 0},
                                               {65, 2, 65}};
  for (const auto& [pressed, selected, left] : presses) {
    int key = pressed;
    popup.spr_KeyDown(key, 0);
    EXPECT_EQ(popup.selectedRow(), selected) << pressed;
    EXPECT_EQ(grid.activeRow(), selected) << pressed;
    EXPECT_EQ(key, left) << pressed;
  }
  EXPECT_EQ(popup.lblAcc, QStringLiteral("수용비(2024.05.03)"));
  int enter = 13;
  popup.spr_KeyDown(enter, 0);
  EXPECT_EQ(searchRow, 9);
  EXPECT_EQ(unloads, 1);
}

TEST_F(SearchPopupTest, ConfirmingClosingSortingAndOtherCallers)
{
  popup.spr_DblClick(found::Account, 3);
  EXPECT_EQ(searchRow, 12);

  // Sorted by account: 공공요금 (ledger row 12) comes first and is selected again.
  grid.sortRows(1, grid.rowCount(), found::Account, SortOrder::Ascending);
  popup.spr_Click(found::Account, 3);
  popup.spr_AfterUserSort(found::Account);
  EXPECT_EQ(popup.selectedRow(), 1);
  searchRow = -1;
  popup.cmdSel_Click();
  EXPECT_EQ(searchRow, 12);

  popup.cmdClose_Click();
  EXPECT_EQ(searchRow, 0);
  EXPECT_EQ(unloads, 3);

  popup.Call_Frm = QStringLiteral("회계2_거래리스트_NEW"); // compared upper-cased
  popup.cmdSel_Click();
  EXPECT_EQ(searchRow, 12);
  popup.Call_Frm = QStringLiteral("다른화면");
  searchRow = 5;
  popup.cmdSel_Click();
  popup.cmdClose_Click();
  EXPECT_EQ(searchRow, 5) << "another caller's popup writes nothing";
  EXPECT_TRUE(ui->messages.isEmpty());

  popup.spr_DblClick(found::Account, 0); // the header: no row
  EXPECT_EQ(ui->texts(), QStringList{"거래내역을 선택 후 클릭해주세요."});
  EXPECT_EQ(unloads, 6) << "the notice keeps the popup open";
}

TEST(FilterInfoTest, TheLineBesideTheTotalsNamesTheConditionsOrThatNothingMatched)
{
  const QString none = QStringLiteral("검색 조건에 맞는 거래내역이 없습니다.\n조건: ");
  const QString applied = QStringLiteral("검색 조건 적용 중\n조건: ");
  const struct {
    int option, classOption;
    const char* text;
    int rows;
    QString line;
  } cases[] = {
      {1, 1, "", 0, QString()},  // nothing narrows the month: an empty month says nothing
      {2, 1, "  ", 12, QString()},
      {2, 1, " 식비 ", 3, applied + QStringLiteral("적요 '식비'")},
      {2, 1, "식비", 0, none + QStringLiteral("적요 '식비'")},
      {1, 3, "비", 0, none + QStringLiteral("계정명 '비', 지출만")},
      {3, 2, "ABC", 1, applied + QStringLiteral("거래처 'ABC', 수입만")},
      {4, 1, "50,000", 2, applied + QStringLiteral("금액 '50,000'")},
      {1, 2, "", 4, applied + QStringLiteral("수입만")},
  };
  for (const auto& c : cases) {
    const DealFilter filter{c.option, c.classOption, QString::fromUtf8(c.text)};
    EXPECT_EQ(FilterInfo::statusLine(filter, c.rows), c.line) << c.text << " " << c.rows;
  }
}
