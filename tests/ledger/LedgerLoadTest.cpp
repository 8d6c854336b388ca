// Loading a month into sprDeal against the real test database.
#include "LedgerFixture.h"

#include "ledger/LedgerColours.h"

using namespace vcm;
using namespace vcm::test;

namespace {

class LedgerLoadTest : public LedgerFixture {};

} // namespace

TEST_F(LedgerLoadTest, VisibilityGateShowsAMonthOnlyWithAReleasedEntry)
{
  const struct {
    QList<int> trans;
    int rows;
    QString tag;
  } cases[] = {{{0, 0, 2}, 0, QString()}, {{0, 1, 0}, 3, QStringLiteral("1")}, {{0, 9}, 2, QString()}};
  for (const auto& c : cases) {
    db.reset();
    QList<DealRow> deals;
    for (int i = 0; i < c.trans.size(); ++i)
      deals << DealRow{QStringLiteral("D%1").arg(i), "001", 2, "101", "001", 0, 1000, c.trans[i]};
    db.addDeals(deals);
    open();
    int focusMoves = 0;
    ledger->form.focus = [&](LedgerForm::Focus) { ++focusMoves; };
    ledger->Set_Basic_info();
    EXPECT_EQ(rows(), c.rows);
    EXPECT_EQ(ledger->form.picTransTag, c.tag);
    EXPECT_EQ(ledger->form.picTransVisible, !c.tag.isEmpty());
    EXPECT_EQ(ledger->Cur_Row, c.rows > 0 ? 1 : 0);
    EXPECT_EQ(ledger->form.totals[0], QString::number(c.rows) + QStringLiteral(" 건"));
    EXPECT_EQ(focusMoves, 0) << "an unreleased month leaves the focus where it is";
    EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
  }
}

TEST_F(LedgerLoadTest, RowsShowNamesColoursAmountsAndMarks)
{
  // NULL amounts come from older data; the schema of the test database does not allow
  // them, so the column is opened up for this case.
  be.adminExec(QStringLiteral("ALTER TABLE DEAL_LIST MODIFY DEAL_OUT_AMT BIGINT NULL DEFAULT 0"));
  db.addDeals({
      {"D01", "001", 1, "201", "001", 1234567, 0, 9, "", 1, "01"},
      {"D01", "002", 2, "101", "002", 0, 5000, 9, "", 0, "02"},
      {"D02", "001", 3, "", "003", 0, 700, 9, "", 0, "09"},
      {"D03", "001", 2, "101", "999", 0, 0, 9, "", 0, "01"},
  });
  be.adminExec(QStringLiteral("UPDATE DEAL_LIST SET DEAL_OUT_AMT = NULL WHERE COM_CD = 'LT01' AND DEAL_CD = 'D03'"));
  open();
  ASSERT_EQ(rows(), 4);
  const struct {
    int col;
    QStringList texts;
  } columns[] = {
      {deal::DealCode, {"D01", "D01", "D02", "D03"}},
      {deal::PartNo, {"001", "002", "001", "001"}},
      {deal::Source, {"○", "", "○", "○"}},
      {deal::ClassName, {"수입", "지출", "", "지출"}},
      {deal::ClassNo, {"1", "2", "3", "2"}},
      {deal::BankName, {"국민 123", "농협 456", "신한 789", ""}},
      {deal::BusiName, {"방문요양", "주야간보호", "", "방문요양"}},
      {deal::Account, {"201.본인부담금", "101.생계비", "", "101.생계비"}},
      {deal::InAmount, {"1,234,567", "0", "0", "0"}},
      {deal::OutAmount, {"0", "5,000", "700", "0"}},
      {deal::Receipt, {"1", "", "", ""}},
      {deal::DealDate, {"2024.05.03", "2024.05.03", "2024.05.03", "2024.05.03"}},
      {deal::BankCode, {"001", "002", "003", "999"}},
  };
  for (const auto& c : columns)
    EXPECT_EQ(column(c.col), c.texts) << "column " << c.col;
  EXPECT_EQ(ledger->sprDeal.foreground(deal::ClassName, 1), ledgerColours::IncomeText);
  EXPECT_EQ(ledger->sprDeal.foreground(deal::ClassName, 2), ledgerColours::ExpenseText);

  // The first row is selected; the others show their bank's colour or white.
  EXPECT_EQ(ledger->Cur_Row, 1);
  const Colour expected[] = {ledgerColours::CurrentRow, colours::White, 12632256, colours::White};
  for (int r = 1; r <= 4; ++r)
    EXPECT_EQ(ledger->sprDeal.background(deal::Summary, r), expected[r - 1]) << "row " << r;
  EXPECT_EQ(ledger->form.totals[1], QStringLiteral("1,234,567"));
  EXPECT_EQ(ledger->form.totals[2], QStringLiteral("5,700"));
}

TEST_F(LedgerLoadTest, AnAccountMissingFromThePickerStopsTheLoadAfterOneNotice)
{
  db.addDeals({{"D01", "001", 2, "101", "001", 0, 1000}, {"D02", "001", 2, "777", "001", 0, 2000},
               {"D03", "001", 2, "101", "001", 0, 3000}});
  open();
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("계정명이 존재하지 않습니다.\n\n확인이 필요하니 반드시 개발사로 연락주세요.")});
  ASSERT_EQ(rows(), 2) << "the rows so far stay";
  EXPECT_EQ(cell(deal::DealCode, 2), QStringLiteral("D02"));
  EXPECT_EQ(cell(deal::Account, 2), QString());
  EXPECT_EQ(cell(deal::OutAmount, 2), QString()) << "columns after the account are not filled";
  EXPECT_EQ(ledger->Cur_Row, 0) << "no row is selected";
  EXPECT_EQ(ledger->form.totals[0], QStringLiteral("2 건"));
  EXPECT_EQ(ledger->form.totals[2], QStringLiteral("1,000"));
}

TEST_F(LedgerLoadTest, SearchOptionsNarrowTheMonth)
{
  db.addDeals({
      {"D01", "001", 1, "201", "001", 50000, 0, 9, "O'Brien 식비"},
      {"D02", "001", 2, "101", "001", 0, 50000, 9, "식비"},
      {"D03", "001", 2, "103", "001", 0, 7000, 9, "전기 \\ 요금"},
      {"D04", "001", 2, "", "001", 0, 100, 9, "기타"},
      {"D05", "001", 2, "102", "001", 0, 300, 9, "소모품"},
  });
  const struct {
    int option;
    int classOption;
    QString text;
    QStringList codes;
  } cases[] = {
      {1, 1, "", {"D01", "D02", "D03", "D04", "D05"}},
      {1, 2, "", {"D01"}},
      {1, 3, "", {"D02", "D03", "D04", "D05"}},
      {1, 1, "비", {"D02", "D05"}},
      {1, 1, "없는계정", {}},
      {2, 1, "O'Brien", {"D01"}},
      {2, 1, "식비", {"D01", "D02"}},
      {2, 1, "\\", {"D03"}},
      {2, 2, "식비", {"D01"}},
      {3, 1, "'", {}},
      {4, 1, "50,000", {"D01", "D02"}},
      {4, 3, "50000", {"D02"}},
  };
  open();
  for (const auto& c : cases) {
    ui->clear();
    ledger->form.optSearch = c.option;
    ledger->form.optSearchF = c.classOption;
    ledger->form.txtSearch = c.text;
    ledger->Set_Basic_info();
    EXPECT_EQ(column(deal::DealCode), c.codes) << c.option << "/" << c.classOption << " " << c.text.toStdString();
    EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'|').toStdString();
  }
}

TEST_F(LedgerLoadTest, OpeningTakesTheMonthBeforeTheServerDateAndReadsTheCodeLists)
{
  Session.ServerDate = QStringLiteral("2024.01.15");
  Grid deal, picker;
  Ledger l(host, deal, picker);
  l.Form_Load();
  EXPECT_EQ(l.form.mskM, QStringLiteral("2023.12"));
  ASSERT_TRUE(l.lists.Acc_List);
  QStringList names;
  for (const auto& a : l.lists.accounts())
    names << a.name;
  EXPECT_EQ(names, (QStringList{"공공요금", "본인부담금", "생계비", "수용비", "장기요양수입"}));
  EXPECT_EQ(l.lists.Acc_List->columns()[2].type, RecordSet::ColumnType::Integer);
  l.lists.Bank_List->setFilter(QStringLiteral("BANK_CD = '003'"));
  EXPECT_EQ(l.lists.Bank_List->value(QStringLiteral("BANK_COLOR")), QStringLiteral("12632256"));
  EXPECT_FALSE(Session.Connection) << "the connection is closed again";
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(LedgerLoadTest, TotalsCountRowsAndSumBothAmounts)
{
  db.addDeals({{"D01", "001", 1, "201", "001", 10000, 0}, {"D02", "001", 2, "101", "001", 0, 2500}});
  open();
  EXPECT_EQ(ledger->form.totals, (std::array<QString, 3>{"2 건", "10,000", "2,500"}));
}

TEST_F(LedgerLoadTest, ShiftClickMarksTheRangeFromTheLastSelectedRow)
{
  QList<DealRow> deals;
  for (int i = 1; i <= 8; ++i)
    deals << DealRow{QStringLiteral("D%1").arg(i), "001", 2, "101", "001", 0, 100};
  db.addDeals(deals);
  const struct {
    int from;
    int to;
    QStringList marked;
  } cases[] = {{3, 7, {"3", "4", "5", "6", "7"}}, {5, 2, {}}};
  for (const auto& c : cases) {
    open();
    ledger->sprDeal_Click(deal::Summary, c.from);
    ui->m_shift = true;
    ledger->sprDeal_Click(deal::Summary, c.to);
    ui->m_shift = false;
    QStringList marked;
    for (int r = 1; r <= rows(); ++r)
      if (ledger->sprDeal.isChecked(deal::Check, r))
        marked << QString::number(r);
    EXPECT_EQ(marked, c.marked);
    EXPECT_EQ(ledger->Cur_Row, c.to);
    EXPECT_EQ(ledger->sprDeal.background(deal::Summary, c.to), ledgerColours::CurrentRow);
    EXPECT_EQ(ledger->sprDeal.background(deal::Summary, c.from), colours::White);
  }
}
