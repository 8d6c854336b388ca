// Statement texts and request numbering, without a database.
#include "business/BusinessStatements.h"

#include <gtest/gtest.h>

namespace vcm {
namespace {

TEST(BusinessStatements, RequestNumberIsTheHighestPlusOneWithFourDigits)
{
  const struct {
    const char* max;
    bool isNull;
    const char* next;
  } cases[] = {
      {"", true, "0001"},    {"11", false, "0012"},     {"9", false, "0010"},
      {"9999", false, "10000"}, {"10000", false, "10001"}, {"0", false, "0001"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(nextRequestNumber(QLatin1String(c.max), c.isNull), QLatin1String(c.next)) << c.max;
}

TEST(BusinessStatements, DetailQueryHasEighteenLinesAndTheChangeScreenSeventeen)
{
  const QString view = companyDetailQuery(QStringLiteral("k"), QStringLiteral("1001"), true);
  const QStringList lines = view.split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 18);
  EXPECT_EQ(lines[9], QStringLiteral(" , CAST(AES_DECRYPT(UNHEX(W4C_ID), 'k') AS CHAR) AS W4C_ID"));
  EXPECT_EQ(lines[15], QStringLiteral(" , MEMBER_WRITE_COM"));
  EXPECT_EQ(lines[17], QStringLiteral(" WHERE COM_CD = '1001'"));
  QStringList change = lines;
  change.removeAt(15);
  EXPECT_EQ(companyDetailQuery(QStringLiteral("k"), QStringLiteral("1001"), false),
            change.join(QLatin1Char('\n')));
}

TEST(BusinessStatements, DetailRowsGoInOneStatementWithoutTheLastComma)
{
  const QString sql = detailInsert(QStringLiteral("1001"), QStringLiteral("0003"),
                                   {{QStringLiteral("BOSS_NM"), QStringLiteral(" 김 ")},
                                    {QStringLiteral("COM_MAIL"), QStringLiteral("a'b\\c")}},
                                   QStringLiteral("key"));
  EXPECT_EQ(sql, QStringLiteral("INSERT INTO TRANS_COM_INFO_DETAIL(\n"
                                " COM_CD , TRANS_CD , SAVE_FIELD , AFTER_STORY) VALUES\n"
                                " ( '1001'\n , '0003'\n , 'BOSS_NM'\n"
                                " , (HEX(AES_ENCRYPT('김' , 'key'))) ) ,\n"
                                " ( '1001'\n , '0003'\n , 'COM_MAIL'\n"
                                " , (HEX(AES_ENCRYPT('a''b\\\\c' , 'key'))) ) "));
}

TEST(BusinessStatements, HeaderStartsWithCarriageReturnAndLineFeed)
{
  EXPECT_EQ(headerInsert(QStringLiteral("1001"), QStringLiteral("0001"),
                         QStringLiteral("2024.05.06 17:08:09")),
            QStringLiteral("INSERT INTO TRANS_COM_INFO(\r\n"
                           " COM_CD , TRANS_CD , SAVE_DIV , TRANS_DT) VALUES (\n"
                           "   '1001'\n , '0001'\n , 0\n , '2024.05.06 17:08:09')"));
}

} // namespace
} // namespace vcm
