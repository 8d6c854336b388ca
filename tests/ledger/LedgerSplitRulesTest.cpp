// Split arithmetic, the picker's filter and quick digits, and initial-consonant
// matching: rules that need no database.
#include "common/grid/Grid.h"
#include "ledger/AccountPicker.h"
#include "ledger/DealColumns.h"
#include "ledger/DealGridModel.h"
#include "ledger/DealSplit.h"
#include "ledger/DealStatements.h"
#include "ledger/InitialConsonants.h"
#include "ledger/LedgerColours.h"
#include "ledger/SplitGroupCheck.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

/// One entry D01/001 of class `cls` with the given amounts, as the loader leaves it.
void oneEntry(Grid& g, int cls, double in, double out)
{
  DealGridModel::setupDeal(g);
  g.setRowCount(1);
  g.setText(deal::DealCode, 1, QStringLiteral("D01"));
  g.setText(deal::PartNo, 1, QStringLiteral("001"));
  g.setText(deal::ClassNo, 1, QString::number(cls));
  g.setText(deal::ClassName, 1, cls == 1 ? QStringLiteral("수입") : QStringLiteral("지출"));
  g.setText(deal::Summary, 1, QStringLiteral("식자재"));
  g.setText(deal::BankCode, 1, QStringLiteral("003"));
  g.setText(deal::Account, 1, QStringLiteral("101.생계비"));
  g.setNumber(deal::InAmount, 1, in);
  g.setNumber(deal::OutAmount, 1, out);
}

void typeAmount(Grid& g, int col, int row, double value)
{
  g.setNumber(col, row, value);
  ASSERT_EQ(DealSplit::recomputeSource(g, row), DealSplit::Outcome::Done);
}

} // namespace

TEST(DealSplitTest, PartsGiveTheirAmountsBackToTheSourceWhileTyped)
{
  const struct {
    int cls;
    double in, out;
    std::vector<std::tuple<int, int, double>> typed; // part row, column, amount
    double sourceIn, sourceOut;
  } cases[] = {
      {2, 0, 100000, {{2, deal::OutAmount, 30000}, {3, deal::OutAmount, 20000}}, 0, 50000},
      {2, 0, 100000, {{2, deal::InAmount, 10000}}, 0, 110000},
      {1, 50000, 0, {{2, deal::InAmount, 20000}, {3, deal::InAmount, 5000}}, 25000, 0},
      {1, 10000, 0, {{3, deal::OutAmount, 4000}}, 14000, 0},
  };
  for (const auto& c : cases) {
    Grid g;
    oneEntry(g, c.cls, c.in, c.out);
    DealSplit::split(g, 1, 2);
    ASSERT_EQ(g.rowCount(), 3);
    for (const auto& [row, col, value] : c.typed)
      typeAmount(g, col, row, value);
    EXPECT_EQ(g.number(deal::InAmount, 1), c.sourceIn) << c.cls << " " << c.in << " " << c.out;
    EXPECT_EQ(g.number(deal::OutAmount, 1), c.sourceOut);
    EXPECT_TRUE(SplitGroupCheck::firstFailure(g).ok()) << "the group adds up for the save";
  }
}

TEST(DealSplitTest, NewPartsCopyTheEntryAndTheSourceIsMarkedOnce)
{
  Grid g;
  oneEntry(g, 2, 0, 100000);
  DealSplit::split(g, 1, 1);
  typeAmount(g, deal::OutAmount, 2, 40000);
  DealSplit::split(g, 1, 2); // again before saving: the new parts go on top of the group
  ASSERT_EQ(g.rowCount(), 4);
  EXPECT_EQ(g.text(deal::SplitOut, 1), QStringLiteral("100000")) << "the amount before the first split stays";
  EXPECT_EQ(g.number(deal::OutAmount, 4), 40000);
  EXPECT_EQ(g.number(deal::OutAmount, 1), 60000);
  EXPECT_TRUE(g.isLocked(deal::InAmount, 1) && g.isLocked(deal::OutAmount, 1));
  EXPECT_EQ(g.foreground(deal::OutAmount, 1), ledgerColours::SplitAmountText);
  EXPECT_EQ(g.text(deal::Changed, 1), QStringLiteral("1"));
  for (int col : {deal::ClassName, deal::DealCode, deal::BankCode, deal::ClassNo, deal::Summary})
    EXPECT_EQ(g.text(col, 2), g.text(col, 1)) << "column " << col;
  EXPECT_EQ(g.text(deal::Account, 2) + g.text(deal::PartNo, 2), QString());
  EXPECT_EQ(g.text(deal::SplitSource, 2) + g.text(deal::NewPart, 2) + g.text(deal::Changed, 2),
            QStringLiteral("D0100111"));
}

TEST(DealSplitTest, RefusalsNameTheirReason)
{
  const struct {
    double in, out;
    bool part;
    QString text;
  } cases[] = {
      {0, 100, true, QStringLiteral("이미 개별분할한 내역을 다시 분할할 수 없습니다.\n\n재분할을 원할 경우 저장 후 다시 시도하세요.")},
      {100, 100, false, QStringLiteral("수입금액과 지출금액이 둘 다 들어있습니다.\n\n분할을 취소합니다.")},
      {0, 0, false, QStringLiteral("수입금액과 지출금액이 둘 다 [0원]입니다.\n\n분할을 취소합니다.")},
      {0, 100, false, QString()},
  };
  for (const auto& c : cases) {
    Grid g;
    oneEntry(g, 2, c.in, c.out);
    if (c.part)
      g.setText(deal::SplitSource, 1, QStringLiteral("D00001")); // codes need not read as numbers
    EXPECT_EQ(DealSplit::refusal(g, 1), c.text);
  }
}

TEST(DealSplitTest, RemovingPartsGivesTheSourceItsAmountsBack)
{
  const struct {
    int cls;
    int removed; // parts removed of the two, from the top
    double sourceOut;
  } cases[] = {{2, 1, 80000}, {2, 2, 100000}, {7, 2, 100000}}; // 7: a class the arithmetic does not know
  for (const auto& c : cases) {
    Grid g;
    oneEntry(g, c.cls, 0, 100000);
    DealSplit::split(g, 1, 2);
    g.setNumber(deal::OutAmount, 2, 30000);
    g.setNumber(deal::OutAmount, 3, 20000);
    DealSplit::recomputeSource(g, 3);
    for (int i = 0; i < c.removed; ++i)
      DealSplit::removePart(g, 2);
    EXPECT_EQ(g.rowCount(), 3 - c.removed);
    EXPECT_EQ(g.number(deal::OutAmount, 1), c.sourceOut) << "class " << c.cls << ", removed " << c.removed;
    if (c.cls == 2) {
      EXPECT_TRUE(SplitGroupCheck::firstFailure(g).ok());
    }
  }
}

TEST(DealSplitTest, TheSourceIsFoundAboveItsGroupOrFromTheTop)
{
  Grid g;
  oneEntry(g, 2, 0, 100);
  DealSplit::split(g, 1, 2);
  EXPECT_EQ(DealSplit::sourceOf(g, 3), 1);
  EXPECT_EQ(DealSplit::sourceOf(g, 1), 0) << "not a part";
  g.insertRows(2); // a row between source and parts: found by the walk from the top
  EXPECT_EQ(DealSplit::sourceOf(g, 4), 1);
  g.setText(deal::SplitSource, 4, QStringLiteral("X99001"));
  EXPECT_EQ(DealSplit::sourceOf(g, 4), -1);
  EXPECT_EQ(DealSplit::recomputeSource(g, 4), DealSplit::Outcome::NoSource);
}

TEST(InitialConsonantsTest, InitialsStandForTheirSyllables)
{
  const struct {
    const char16_t* name;
    const char16_t* query;
    bool found;
  } cases[] = {
      {u"생계비", u"ㅅㄱㅂ", true},       {u"생계비", u"ㅅㄱ", true},        {u"생계비", u"ㄱㅂ", true},
      {u"기타운영비", u"ㄱㅌㅇㅇㅂ", true}, {u"기타운영비", u"기ㅌ", true},    {u"기타운영비", u"ㅌ기", false},
      {u"생계비", u"ㅅㄱㅂㅂ", false},     {u"생계비", u"ㅆ", false},         {u"쌀구입비", u"ㅆ", true},
      {u"KT통신비", u"KTㅌ", true},        {u"KT통신비", u"ktㅌ", false},      {u"KT통신비", u"Tㅌㅅ", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(InitialConsonants::contains(QString::fromUtf16(c.name), QString::fromUtf16(c.query)), c.found)
        << QString::fromUtf16(c.name).toStdString() << " / " << QString::fromUtf16(c.query).toStdString();
  EXPECT_EQ(InitialConsonants::initialOf(u'힣'), QChar(u'ㅎ'));
  EXPECT_EQ(InitialConsonants::initialOf(u'A'), QChar(u'A'));
  EXPECT_FALSE(InitialConsonants::hasInitials(QStringLiteral("생계 ㅏ")));
}

TEST(AccountPickerTest, FilterKeepsTheLikeMatchForOtherTexts)
{
  const struct {
    const char16_t* text;
    bool found;
  } cases[] = {{u"비", true}, {u"생*비", true}, {u"[생]계", true}, {u"ㅅㄱ", true}, {u"ㅅ*", false}, {u"비생", false}};
  for (const auto& c : cases)
    EXPECT_EQ(AccountPicker::nameMatches(QStringLiteral("생계비"), QString::fromUtf16(c.text)), c.found)
        << QString::fromUtf16(c.text).toStdString();
  EXPECT_EQ(AccountPicker::filterText(QStringLiteral(" 101.생계비 ")), QStringLiteral("생계비"));
  EXPECT_EQ(AccountPicker::filterText(QStringLiteral("차량")), QStringLiteral("차량"));
}

TEST(AccountPickerTest, QuickDigits)
{
  const QString above = QStringLiteral("102.수용 비");
  const struct {
    const char* typed;
    int row;
    std::optional<QStringList> names;
  } cases[] = {
      {"0", 1, QStringList{"생계비"}},
      {" 5 ", 1, QStringList{"차량비"}},
      {"2", 1, QStringList{"공공요금및제세공과금", "공공요금및각종세금공과금"}},
      {"7", 1, QStringList{"장기요양급여수입", "장기요양급여수입(인건비비율반영)"}},
      {"9", 5, QStringList{"수용비"}},
      {"9", 1, std::nullopt},
      {"10", 1, std::nullopt},
      {"1.5", 1, std::nullopt},
      {"차", 1, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(AccountPicker::quickNames(QLatin1String(c.typed), c.row, above), c.names) << c.typed;
}

TEST(DealStatementsTest, DeleteNamesOneKeyExactly)
{
  EXPECT_EQ(DealStatements::deleteEntry(QStringLiteral("C1"), QStringLiteral(" 2024.05 "), QStringLiteral(" D'01 "),
                                        QStringLiteral("002")),
            QStringLiteral("DELETE FROM DEAL_LIST\n"
                           " WHERE COM_CD    = 'C1'\n"
                           "   AND DEAL_MON  = '2024.05'\n"
                           "   AND DEAL_CD   = 'D''01'\n"
                           "   AND DEAL_CD_2 = '002'"));
}
