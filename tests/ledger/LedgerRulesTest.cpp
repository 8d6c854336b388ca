// Ledger rules that need no database: statement texts, save checks, split groups,
// registration order, part numbers, month texts and the search pattern.
#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"
#include "ledger/DealGridModel.h"
#include "ledger/DealStatements.h"
#include "ledger/LikePattern.h"
#include "ledger/MonthText.h"
#include "ledger/PartNumber.h"
#include "ledger/RegistrationOrder.h"
#include "ledger/SaveValidator.h"
#include "ledger/SplitGroupCheck.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

/// A picker holding 101 생계비 (expense) and 201 본인부담금 (income) below the empty row.
void fillPicker(Grid& picker)
{
  DealGridModel::setupPicker(picker);
  picker.setRowCount(3);
  const struct {
    int row;
    const char* code;
    QString name;
    const char* cls;
  } accounts[] = {{2, "101", QStringLiteral("생계비"), "2"}, {3, "201", QStringLiteral("본인부담금"), "1"}};
  for (const auto& a : accounts) {
    picker.setText(picker::Code, a.row, QLatin1String(a.code));
    picker.setText(picker::Name, a.row, a.name);
    picker.setText(picker::ClassNo, a.row, QLatin1String(a.cls));
  }
}

} // namespace

TEST(DealStatementsTest, UpdateAndInsertAreExactAndEscapeEveryText)
{
  DealWrite w;
  w.dealCode = QStringLiteral("D0001");
  w.partNo = QStringLiteral("002");
  w.classNo = 2;
  w.dealDate = QStringLiteral("2024.05.03");
  w.busiCode = QStringLiteral("01");
  w.bankCode = QStringLiteral("001");
  w.account = QStringLiteral("101");
  w.summary = QStringLiteral("O'Neil \\ 식비");
  w.customer = QStringLiteral("마트'");
  w.target = QStringLiteral("홍길동");
  w.expense = 12500;
  w.receipt = 1;
  EXPECT_EQ(DealStatements::update(QStringLiteral("C1"), QStringLiteral(" 2024.05 "), w),
            QStringLiteral("UPDATE DEAL_LIST SET\n"
                           "   DACC_GUBUN   =  2\n"
                           " , DACC_CD      = '101'\n"
                           " , DEAL_SUMM    = 'O''Neil \\\\ 식비'\n"
                           " , DEAL_CUST    = '마트'''\n"
                           " , DEAL_TARGET  = '홍길동'\n"
                           " , DEAL_IN_AMT  =  0\n"
                           " , DEAL_OUT_AMT =  12500\n"
                           " , RECEIPT_DIV  =  1\n"
                           " WHERE COM_CD       = 'C1'\n"
                           "   AND DEAL_MON     = '2024.05'\n"
                           "   AND DEAL_CD      = 'D0001'\n"
                           "   AND DEAL_CD_2    = '002'"));
  EXPECT_EQ(DealStatements::insert(QStringLiteral("C1"), QStringLiteral("2024.05"), w),
            QStringLiteral("INSERT INTO DEAL_LIST(\n"
                           "   COM_CD      , DEAL_MON     , DEAL_CD  , DEAL_CD_2 , DACC_GUBUN\n"
                           " , DEAL_DT     , DBUSI_CD     , DBANK_CD\n"
                           " , DACC_CD\n"
                           " , DEAL_SUMM   , DEAL_CUST    , DEAL_TARGET\n"
                           " , DEAL_IN_AMT , DEAL_OUT_AMT\n"
                           " , RECEIPT_DIV\n"
                           " ) VALUES (\n"
                           "   'C1'\n , '2024.05'\n , 'D0001'\n , '002'\n , 2\n , '2024.05.03'\n"
                           " , '01'\n , '001'\n , '101'\n , 'O''Neil \\\\ 식비'\n , '마트'''\n"
                           " , '홍길동'\n , 0\n , 12500\n ,  1\n ) "));
  EXPECT_EQ(DealStatements::maxPartNo(QStringLiteral("C1"), QStringLiteral("2024.05"), QStringLiteral("D'1")),
            QStringLiteral("SELECT MAX(DEAL_CD_2) AS M_NO FROM DEAL_LIST\n WHERE COM_CD = 'C1'\n"
                           "   AND DEAL_MON     = '2024.05'\n   AND DEAL_CD      = 'D''1'"));
}

TEST(DealStatementsTest, LoaderFiltersComeInOrderOnTheirOwnLines)
{
  const struct {
    DealFilter filter;
    QString lines; // the lines between the month and ORDER BY
  } cases[] = {
      {{1, 1, QString()}, QString()},
      {{1, 2, QStringLiteral("비")}, QStringLiteral(" AND DACC_GUBUN = 1\n")}, // account search is not SQL
      {{2, 3, QStringLiteral(" 식'비 ")}, QStringLiteral(" AND DACC_GUBUN = 2\n AND DEAL_SUMM LIKE '%식''비%' ESCAPE '!'\n")},
      {{3, 1, QStringLiteral("a\\b")}, QStringLiteral(" AND DEAL_CUST LIKE '%a\\\\b%' ESCAPE '!'\n")},
      {{2, 1, QStringLiteral("50%_!")}, QStringLiteral(" AND DEAL_SUMM LIKE '%50!%!_!!%' ESCAPE '!'\n")},
      {{4, 1, QStringLiteral("50,000")}, QStringLiteral(" AND (DEAL_IN_AMT = 50000 OR DEAL_OUT_AMT = 50000)\n")},
      {{4, 1, QStringLiteral("x'")}, QStringLiteral(" AND (DEAL_IN_AMT = 0 OR DEAL_OUT_AMT = 0)\n")},
  };
  for (const auto& c : cases) {
    const QString sql = DealStatements::dealList(QStringLiteral("C1"), QStringLiteral("2024.05 "), c.filter);
    const QString head = QStringLiteral(" WHERE COM_CD   = 'C1'\n   AND DEAL_MON = '2024.05'\n");
    ASSERT_TRUE(sql.startsWith(QStringLiteral("SELECT COM_CD , DEAL_MON     , DEAL_CD      , DEAL_CD_2 , DACC_GUBUN\n")));
    EXPECT_TRUE(sql.endsWith(head + c.lines + QStringLiteral(" ORDER BY DEAL_CD , DEAL_CD_2")))
        << sql.toStdString();
  }
}

TEST(SaveValidatorTest, EachCheckNamesTheRowAndItsReason)
{
  Grid picker;
  fillPicker(picker);
  const struct {
    QString account;
    const char* in;
    const char* out;
    bool receipt;
    QString expected; // after "2행"; empty: passes
  } cases[] = {
      {QStringLiteral("101.생계비"), "0", "5000", false, QString()},
      {QString(), "0", "5000", true, QString()}, // no account: class checks skipped
      {QStringLiteral("101.생계 비"), "0", "5000", false, QStringLiteral(" - 계정코드가 틀립니다. 개발사로 연락주세요. 저장을 취소합니다.")},
      {QStringLiteral("999.없음"), "0", "5000", false, QStringLiteral(" - 존재하지 않는 [계정명]입니다. 저장을 취소합니다.")},
      {QStringLiteral("생계비"), "0", "5000", false, QStringLiteral(" - 존재하지 않는 [계정명]입니다. 저장을 취소합니다.")},
      {QStringLiteral("101.생계비"), "100", "5000", false, QStringLiteral(" - [수입,지출] 금액 둘다 존재합니다. 저장을 취소합니다.")},
      {QStringLiteral("101.생계비"), "0", "0", false, QStringLiteral(" - [수입,지출] 금액 둘다 0원입니다. 저장을 취소합니다.")},
      {QStringLiteral("101.생계비"), "5000", "0", false, QStringLiteral(" - [수입금액]이 존재하나 계정은 [지출계정]으로 설정되어있습니다. 저장을 취소합니다.")},
      {QStringLiteral("201.본인부담금"), "5000", "0", true, QStringLiteral(" - [수입]인데, [영수증여부]에 체크가 되어있습니다. 저장을 취소합니다.")},
      {QStringLiteral("201.본인부담금"), "0", "5000", false, QStringLiteral(" - [지출금액]이 존재하나 계정은 [수입계정]으로 설정되어있습니다. 저장을 취소합니다.")},
  };
  for (const auto& c : cases) {
    Grid deal;
    DealGridModel::setupDeal(deal);
    deal.setRowCount(3);
    // Row 1 is changed and valid, row 3 unchanged and invalid: only row 2 may fail.
    deal.setText(deal::Changed, 1, QStringLiteral("1"));
    deal.setText(deal::OutAmount, 1, QStringLiteral("10"));
    deal.setText(deal::Changed, 2, QStringLiteral("1"));
    deal.setText(deal::Account, 2, c.account);
    deal.setText(deal::InAmount, 2, QLatin1String(c.in));
    deal.setText(deal::OutAmount, 2, QLatin1String(c.out));
    deal.setText(deal::Receipt, 2, c.receipt ? QStringLiteral("1") : QString());
    const auto result = SaveValidator::check(deal, picker);
    if (c.expected.isEmpty()) {
      EXPECT_TRUE(result.ok()) << c.account.toStdString() << ": " << result.message.toStdString();
      EXPECT_EQ(result.changedRows, 2);
    } else {
      EXPECT_EQ(result.failedRow, 2);
      EXPECT_EQ(result.message, QStringLiteral("2행") + c.expected) << c.account.toStdString();
    }
  }
}

TEST(SplitGroupCheckTest, GroupsMustAddUpToTheSourceBeforeSplitting)
{
  // Rows: 1 plain entry, 2 split source D2/001, 3..4 its unsaved parts, 5 another entry.
  const struct {
    int cls;
    const char* sourceIn;
    const char* sourceOut;
    const char* part3;
    const char* part4;
    const char* original; // column 29 (class 1) or 30 (class 2)
    SplitGroupCheck::Failure expected;
  } cases[] = {
      {2, "0", "6000", "3000", "1000", "10000", {}},
      {2, "0", "6000", "3000", "999", "10000", {2, SplitGroupCheck::Reason::Unbalanced}},
      {1, "7000", "0", "2000", "1000", "10000", {}},
      {1, "7000", "0", "2000", "1001", "10000", {2, SplitGroupCheck::Reason::Unbalanced}},
      {3, "0", "6000", "3000", "1000", "10000", {2, SplitGroupCheck::Reason::UnknownClass}},
  };
  for (const auto& c : cases) {
    Grid deal;
    DealGridModel::setupDeal(deal);
    deal.setRowCount(5);
    for (int r = 1; r <= 5; ++r)
      deal.setText(deal::DealCode, r, r == 1 ? QStringLiteral("D1") : (r == 5 ? QStringLiteral("D3") : QStringLiteral("D2")));
    deal.setText(deal::PartNo, 2, QStringLiteral("001"));
    deal.setText(deal::ClassNo, 2, QString::number(c.cls));
    const bool income = c.cls == 1;
    deal.setText(deal::InAmount, 2, QLatin1String(c.sourceIn));
    deal.setText(deal::OutAmount, 2, QLatin1String(c.sourceOut));
    deal.setText(income ? deal::SplitIn : deal::SplitOut, 2, QLatin1String(c.original));
    for (int r : {3, 4}) {
      deal.setText(deal::SplitSource, r, QStringLiteral("D2001"));
      deal.setText(income ? deal::InAmount : deal::OutAmount, r, QLatin1String(r == 3 ? c.part3 : c.part4));
    }
    // Row 5 belongs to another entry: its amount must not be counted.
    deal.setText(deal::OutAmount, 5, QStringLiteral("5"));
    EXPECT_TRUE(SplitGroupCheck::firstFailure(deal) == c.expected) << c.cls << " " << c.part4;
  }
}

TEST(RegistrationOrderTest, ABankCodeComingBackIsReported)
{
  const struct {
    QStringList codes;
    bool broken;
  } cases[] = {
      {{"001", "001", "002", "001"}, true},
      {{"001", "002", "002"}, false},
      {{"001", "002", "003", "002"}, true},
      {{}, false},
      {{"001"}, false},
      {{"001", "01", "001"}, true},
      {{"001", "002", "01"}, false}, // "01" is not the tail of "001"
      {{"001", "", "002", ""}, true},
  };
  for (const auto& c : cases) {
    Grid deal;
    DealGridModel::setupDeal(deal);
    deal.setRowCount(int(c.codes.size()));
    for (int r = 1; r <= c.codes.size(); ++r)
      deal.setText(deal::BankCode, r, c.codes[r - 1]);
    EXPECT_EQ(RegistrationOrder::broken(deal), c.broken) << c.codes.join(u',').toStdString();
  }
}

TEST(LedgerTextsTest, PartNumbersMonthsAndPatterns)
{
  const std::pair<QString, QString> parts[] = {
      {QString(), "001"}, {"001", "002"}, {"003", "004"}, {"009", "010"}, {"099", "100"}, {"", "001"}};
  for (const auto& [highest, next] : parts)
    EXPECT_EQ(PartNumber::next(highest), next) << highest.toStdString();

  const std::pair<const char*, bool> months[] = {{"2024.05", true},  {"2024.13", false}, {"2024.00", false},
                                                 {"2024.1", true},   {"2024.02.29", true}, {"2023.02.29", false},
                                                 {" 2024.05 ", true}, {"", false},       {"2024.  ", false}};
  for (const auto& [text, valid] : months)
    EXPECT_EQ(MonthText::isValid(QLatin1String(text)), valid) << text;

  const std::pair<const char*, const char*> previous[] = {
      {"2024.01.15", "2023.12"}, {"2024.03.31", "2024.02"}, {"2024.06.15", "2024.05"}, {"bad", ""}};
  for (const auto& [date, month] : previous)
    EXPECT_EQ(MonthText::previousMonth(QLatin1String(date)), QLatin1String(month)) << date;

  const struct {
    QString text;
    QString pattern;
    bool match;
  } likes[] = {
      {QStringLiteral("생계비"), QStringLiteral("*비*"), true},
      {QStringLiteral("공공요금"), QStringLiteral("*비*"), false},
      {QStringLiteral("ABC마트"), QStringLiteral("*ABC*"), true},
      {QStringLiteral("abc마트"), QStringLiteral("*ABC*"), false},
      {QStringLiteral("A1"), QStringLiteral("A#"), true},
      {QStringLiteral("AB"), QStringLiteral("A#"), false},
      {QStringLiteral("B7"), QStringLiteral("[A-C]?"), true},
      {QStringLiteral("D7"), QStringLiteral("[!A-C]7"), true},
      {QStringLiteral("x"), QStringLiteral("[x"), false},
  };
  for (const auto& l : likes)
    EXPECT_EQ(LikePattern::matches(l.text, l.pattern), l.match)
        << l.text.toStdString() << " like " << l.pattern.toStdString();
}
