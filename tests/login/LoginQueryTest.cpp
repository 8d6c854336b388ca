// The login statement and the verdict on its first row, without a database.
#include "common/db/RecordSet.h"
#include "login/LoginQuery.h"

#include <gtest/gtest.h>

namespace vcm {
namespace {

TEST(LoginQuery, StatementLinesAreExact)
{
  const QString expected = QStringLiteral(
      "SELECT COM_CD , COM_NM , CON_DIV\n"
      " , MEMBER_APP_USE , MEMBER_WRITE_COM\n"
      " , CAST(AES_DECRYPT(UNHEX(MEMBER_ID), 'k3y!') AS CHAR) AS MEMBER_ID\n"
      " , CAST(AES_DECRYPT(UNHEX(MEMBER_PW), 'k3y!') AS CHAR) AS MEMBER_PW\n"
      " FROM COM_LIST\n"
      " WHERE CAST(AES_DECRYPT(UNHEX(MEMBER_ID), 'k3y!') AS CHAR)  = 'sunshine1001'");
  EXPECT_EQ(LoginQuery::build(QStringLiteral("k3y!"), QStringLiteral("  sunshine1001 ")), expected);
}

TEST(LoginQuery, TypedIdCannotLeaveItsLiteral)
{
  const struct {
    QString typed;
    QString literal;
  } cases[] = {
      {QStringLiteral("o'brien"), QStringLiteral("'o''brien'")},
      {QStringLiteral("' OR '1'='1"), QStringLiteral("''' OR ''1''=''1'")},
      {QStringLiteral("back\\slash"), QStringLiteral("'back\\\\slash'")},
      {QStringLiteral("end\\"), QStringLiteral("'end\\\\'")},
      {QStringLiteral("한글아이디"), QStringLiteral("'한글아이디'")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    const QString sql = LoginQuery::build(QStringLiteral("k"), c.typed);
    EXPECT_TRUE(sql.endsWith(QStringLiteral("AS CHAR)  = ") + c.literal));
  }
}

RecordSet memberRows(const QList<QStringList>& rows)
{
  RecordSet rs = RecordSet::inMemory({{QStringLiteral("COM_CD")}, {QStringLiteral("COM_NM")},
                                      {QStringLiteral("MEMBER_APP_USE")}, {QStringLiteral("MEMBER_PW")}});
  for (const auto& r : rows)
    rs.appendRow(r);
  rs.moveFirst();
  return rs;
}

TEST(LoginQuery, VerdictOnTheFirstRow)
{
  const struct {
    const char* what;
    QList<QStringList> rows;
    QString typed;
    LoginVerdict verdict;
  } cases[] = {
      {"no row", {}, QStringLiteral("pw"), LoginVerdict::UnknownId},
      {"match", {{"C1", "센터", "0", "care2024!"}}, QStringLiteral("care2024!"), LoginVerdict::Accepted},
      {"blanks around both", {{"C1", "센터", "0", " care2024! "}}, QStringLiteral("  care2024!"), LoginVerdict::Accepted},
      {"letter case", {{"C1", "센터", "0", "care2024!"}}, QStringLiteral("CARE2024!"), LoginVerdict::WrongPassword},
      {"other password", {{"C1", "센터", "0", "care2024!"}}, QStringLiteral("care2025!"), LoginVerdict::WrongPassword},
      {"stored null, typed empty", {{"C1", "센터", "0"}}, QStringLiteral("  "), LoginVerdict::WrongPassword},
      {"maintenance", {{"C1", "센터", "9", "pw"}}, QStringLiteral("pw"), LoginVerdict::Maintenance},
      {"maintenance with blanks", {{"C1", "센터", " 9 ", "pw"}}, QStringLiteral("pw"), LoginVerdict::Maintenance},
      {"9 only as leading number", {{"C1", "센터", "9x", "pw"}}, QStringLiteral("pw"), LoginVerdict::Maintenance},
      {"other state", {{"C1", "센터", "90", "pw"}}, QStringLiteral("pw"), LoginVerdict::Accepted},
      {"null state", {{"C1", "센터", "", "pw"}}, QStringLiteral("pw"), LoginVerdict::Accepted},
      // The password is checked before the state: a wrong password says nothing of it.
      {"wrong password in maintenance", {{"C1", "센터", "9", "pw"}}, QStringLiteral("px"), LoginVerdict::WrongPassword},
      {"only the first row", {{"C1", "센터", "0", "one"}, {"C2", "센터2", "0", "two"}}, QStringLiteral("two"), LoginVerdict::WrongPassword},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const RecordSet rs = memberRows(c.rows);
    EXPECT_EQ(LoginQuery::judge(rs, c.typed), c.verdict);
  }
}

TEST(LoginQuery, EnterSubmitsOnlyWithBothFieldsFilled)
{
  EXPECT_TRUE(LoginQuery::bothFilled(QStringLiteral("id"), QStringLiteral("pw")));
  EXPECT_FALSE(LoginQuery::bothFilled(QStringLiteral("id"), QStringLiteral("   ")));
  EXPECT_FALSE(LoginQuery::bothFilled(QStringLiteral(" "), QStringLiteral("pw")));
  EXPECT_FALSE(LoginQuery::bothFilled(QString(), QString()));
}

} // namespace
} // namespace vcm
