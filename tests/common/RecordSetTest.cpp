#include "common/RuntimeError.h"
#include "common/db/ConnectionString.h"
#include "common/db/RecordSet.h"

#include <gtest/gtest.h>

using namespace vcm;
using CT = RecordSet::ColumnType;

namespace {

RecordSet accounts()
{
  auto rs = RecordSet::inMemory({{QStringLiteral("ACC_CD"), CT::Text},
                                 {QStringLiteral("ACC_NM"), CT::Text},
                                 {QStringLiteral("ACC_DIV"), CT::Integer}});
  rs.appendRow({QStringLiteral("101"), QStringLiteral("생계비"), QStringLiteral("2")});
  rs.appendRow({QStringLiteral("102"), QStringLiteral("수용비및수수료"), QStringLiteral("2")});
  rs.appendRow({QStringLiteral("401"), QStringLiteral("장기요양급여수입"), QStringLiteral("1")});
  rs.appendRow({QStringLiteral("402"), QStringLiteral("본인부담금수입"), QStringLiteral("1")});
  rs.appendRow({QStringLiteral("999"), QString(), QString()});
  rs.moveFirst();
  return rs;
}

QStringList codes(RecordSet& rs)
{
  QStringList out;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext())
    out << rs.value(QStringLiteral("acc_cd"));
  return out;
}

} // namespace

TEST(RecordSet, FiltersWithAndOrParenthesesAndRemoval)
{
  const struct {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"ACC_DIV = '1'", {"401", "402"}},
      {"ACC_DIV = 2 AND ACC_CD = '102'", {"102"}},
      {"ACC_CD = '101' OR ACC_CD = '402'", {"101", "402"}},
      {"ACC_CD = '101' OR ACC_CD = '401' AND ACC_DIV = '2'", {"101"}},
      {"(ACC_CD = '101' OR ACC_CD = '401') AND ACC_DIV = '1'", {"401"}},
      {"acc_nm = '생계비'", {"101"}},
      {"ACC_CD = '000'", {}},
      {"ACC_NM = ''", {"999"}},
  };
  for (const auto& c : cases) {
    RecordSet rs = accounts();
    rs.setFilter(QString::fromUtf8(c.filter));
    EXPECT_EQ(codes(rs), c.expected) << c.filter;
    EXPECT_EQ(rs.recordCount(), c.expected.size()) << c.filter;
    rs.removeFilter();
    EXPECT_EQ(rs.recordCount(), 5);
  }
}

TEST(RecordSet, MalformedFiltersAndUnknownColumnsAreErrors)
{
  for (const char* bad : {"ACC_CD =", "ACC_CD '1'", "ACC_CD = '1' AND", "(ACC_CD = '1'", "ACC_CD = 'x"}) {
    RecordSet rs = accounts();
    EXPECT_THROW(rs.setFilter(QString::fromUtf8(bad)), RuntimeError) << bad;
    EXPECT_EQ(rs.recordCount(), 5) << "a rejected filter leaves the set as it was: " << bad;
  }
  RecordSet rs = accounts();
  EXPECT_THROW(rs.setFilter(QStringLiteral("NOPE = '1'")), RuntimeError);
}

TEST(RecordSet, LongChainsWorkAndDeepParenthesesAreRefused)
{
  const auto nested = [](int depth) {
    return QString(depth, u'(') + QStringLiteral("ACC_DIV = '1'") + QString(depth, u')');
  };
  const auto chain = [](const char* joiner, int terms) {
    QStringList parts(terms, QStringLiteral("ACC_DIV = '1'"));
    return parts.join(QString::fromLatin1(joiner));
  };
  const struct {
    const char* name;
    QString filter;
    bool accepted;
  } cases[] = {
      {"100 parentheses", nested(100), true},
      {"101 parentheses", nested(101), false},
      {"100,000 parentheses", nested(100000), false},
      {"100,000 ANDs", chain(" AND ", 100000), true},
      {"100,000 ORs in parentheses", QLatin1Char('(') + chain(" OR ", 100000) + QLatin1Char(')'), true},
  };
  for (const auto& c : cases) {
    RecordSet rs = accounts();
    if (c.accepted) {
      rs.setFilter(c.filter);
      EXPECT_EQ(codes(rs), (QStringList{"401", "402"})) << c.name;
      continue;
    }
    try {
      rs.setFilter(c.filter);
      ADD_FAILURE() << c.name;
    } catch (const RuntimeError& e) {
      EXPECT_TRUE(e.description.contains(QStringLiteral("괄호는 100단계까지"))) << c.name;
      EXPECT_LT(e.description.size(), 100) << "the notice does not repeat the whole expression";
    }
    EXPECT_EQ(rs.recordCount(), 5) << c.name;
  }
}

TEST(RecordSet, ApostropheInsideAFilterValue)
{
  auto rs = RecordSet::inMemory({{QStringLiteral("NM"), CT::Text}});
  rs.appendRow({QStringLiteral("O'Brien")});
  rs.setFilter(QStringLiteral("NM = 'O''Brien'"));
  EXPECT_EQ(rs.recordCount(), 1);
}

TEST(RecordSet, NullReadsAsEmptyTextButIsStillKnownAsNull)
{
  RecordSet rs = accounts();
  rs.moveLast();
  EXPECT_EQ(rs.value(QStringLiteral("ACC_NM")), QString(""));
  EXPECT_TRUE(rs.isNull(QStringLiteral("ACC_NM")));
  rs.moveFirst();
  EXPECT_FALSE(rs.isNull(QStringLiteral("ACC_NM")));
}

TEST(RecordSet, CursorAndClosedSetErrors)
{
  RecordSet rs = accounts();
  EXPECT_FALSE(rs.eof());
  for (int i = 0; i < 5; ++i)
    rs.moveNext();
  EXPECT_TRUE(rs.eof());
  EXPECT_THROW(rs.moveNext(), RuntimeError);
  try {
    rs.value(QStringLiteral("ACC_CD"));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, errors::kNoCurrentRecord);
  }
  rs.moveFirst();
  try {
    rs.value(QStringLiteral("MISSING"));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, errors::kItemNotFound);
  }
  rs.close();
  try {
    rs.recordCount();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, errors::kObjectClosed);
  }
}

TEST(RecordSet, IntegerColumnsRefuseNonNumbers)
{
  auto rs = RecordSet::inMemory({{QStringLiteral("N"), CT::Integer}});
  EXPECT_THROW(rs.appendRow({QStringLiteral("abc")}), RuntimeError);
  EXPECT_THROW(rs.appendRow({QStringLiteral("4294967296")}), RuntimeError);
  rs.appendRow({QStringLiteral(" 12 ")});
  rs.moveFirst();
  EXPECT_EQ(rs.value(QStringLiteral("N")), QStringLiteral("12"));
}

TEST(RecordSet, RowsAppendedUnderAFilterAreFilteredToo)
{
  RecordSet rs = accounts();
  rs.setFilter(QStringLiteral("ACC_DIV = '1'"));
  rs.appendRow({QStringLiteral("403"), QStringLiteral("기타잡수입"), QStringLiteral("1")});
  rs.appendRow({QStringLiteral("103"), QStringLiteral("차량비"), QStringLiteral("2")});
  EXPECT_EQ(codes(rs), (QStringList{"401", "402", "403"}));
}

TEST(ConnectionString, KeysAreCaseInsensitiveAndOrderFree)
{
  const ConnectionSettings s = parseConnectionString(QStringLiteral(
      "driver=MySQL ODBC 3.51 Driver;database=careDB_01;option=0;pwd=ab!c12;port=3306;"
      "server=127.0.0.1;uid=vcmuser;charset=euckr;"));
  EXPECT_EQ(s.database, QStringLiteral("careDB_01"));
  EXPECT_EQ(s.password, QStringLiteral("ab!c12"));
  EXPECT_EQ(s.server, QStringLiteral("127.0.0.1"));
  EXPECT_EQ(s.user, QStringLiteral("vcmuser"));
  EXPECT_EQ(s.charset, QStringLiteral("euckr"));
  EXPECT_EQ(s.port, 3306);

  const ConnectionSettings t =
      parseConnectionString(QStringLiteral("UID=u;SERVER=h;Port=13306;PWD=p;DataBase=d"));
  EXPECT_EQ(t.user, QStringLiteral("u"));
  EXPECT_EQ(t.server, QStringLiteral("h"));
  EXPECT_EQ(t.port, 13306);
  EXPECT_EQ(t.database, QStringLiteral("d"));
}

TEST(ConnectionString, MalformedStringsAreErrorsThatNameNoSecret)
{
  for (const char* bad : {"", "server", "=x;server=h", "server=h;port=abc", "server=h;port=0",
                          "uid=a;uid=b;server=h", "uid=u;pwd=secret!"}) {
    try {
      parseConnectionString(QString::fromUtf8(bad));
      FAIL() << bad;
    } catch (const RuntimeError& e) {
      EXPECT_FALSE(e.description.contains(QStringLiteral("secret"))) << bad;
    }
  }
}

TEST(RecordSet, TrimmedValueMatchesTrimmingTheValue)
{
  auto rs = RecordSet::inMemory({{QStringLiteral("T"), CT::Text}});
  for (const char* v : {"  a b  ", "\t생계비\n", "　전각　", "", "x"})
    rs.appendRow({QString::fromUtf8(v)});
  rs.appendRow({QString()});
  for (rs.moveFirst(); !rs.eof(); rs.moveNext())
    EXPECT_EQ(rs.trimmedValue(0), rs.value(0).trimmed());
}
