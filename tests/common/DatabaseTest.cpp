// The database layer against the real private MariaDB of the test backend.
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "common/db/EucKr.h"
#include "platform/ScriptedUi.h"
#include "support/DelayProxy.h"
#include "support/TestBackend.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using namespace vcm;
using vcm::test::Backend;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    if (!be.available())
      GTEST_SKIP() << be.unavailableReason().toStdString();
    Session.reset();
    Session.ConnectionString = be.connectionString();
    be.adminExec(QStringLiteral("CREATE TABLE IF NOT EXISTS T_LAYER (ID INT AUTO_INCREMENT PRIMARY KEY, "
                                "NM VARCHAR(40), AMT BIGINT) DEFAULT CHARSET=euckr"));
    be.adminExec(QStringLiteral("DELETE FROM T_LAYER"));
  }
  void TearDown() override
  {
    Session.Connection.reset();
    Session.reset();
  }

  Backend& be = Backend::shared();
  ScopedScriptedUi ui;
};

} // namespace

TEST_F(DatabaseTest, OpenQueryAndCloseLeavesNoConnection)
{
  g_Open_MainConn();
  ASSERT_TRUE(Session.Connection && Session.Connection->isOpen());
  EXPECT_GE(ui->pumps, 1) << "events run after opening";
  auto rs = openRecordSet(QStringLiteral("SELECT 7 AS Seven, NULL AS Nothing, '' AS Blank"));
  EXPECT_EQ(rs->recordCount(), 1);
  EXPECT_EQ(rs->value(QStringLiteral("seven")), QStringLiteral("7"));
  EXPECT_EQ(rs->value(QStringLiteral("NOTHING")), QString(""));
  EXPECT_TRUE(rs->isNull(QStringLiteral("Nothing")));
  EXPECT_FALSE(rs->isNull(QStringLiteral("Blank")));
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
  EXPECT_FALSE(Session.Connection);
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(DatabaseTest, WrongPasswordIsTriedTwiceThenRaisedWithoutSecrets)
{
  const auto aborted = [&] {
    return be.adminQuery(QStringLiteral("SHOW GLOBAL STATUS LIKE 'Aborted_connects'")).at(0).at(1).toInt();
  };
  // On Windows the first connection to a server also reads its greeting on a connection
  // of its own (which the server counts as aborted); later ones know what it offers.
  g_Open_MainConn();
  g_Nothing_MainConn();
  const int before = aborted();
  Session.ConnectionString = be.connectionString(QStringLiteral("wrongpass77"));
  try {
    g_Open_MainConn();
    FAIL() << "expected the second failure to reach the caller";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, errors::kProvider);
    EXPECT_EQ(e.nativeCode, 1045);
    EXPECT_TRUE(e.description.startsWith(QStringLiteral("[MySQL][ODBC 3.51 Driver]"))) << e.description.toStdString();
    EXPECT_FALSE(e.description.contains(be.dbUser()));
    EXPECT_FALSE(e.description.contains(QStringLiteral("wrongpass77")));
  }
  // The server counts a refused attempt when its thread ends, which can be a moment after
  // the client has its answer.
  QElapsedTimer waited;
  waited.start();
  while (aborted() - before < 2 && waited.elapsed() < 3000)
    QThread::msleep(20);
  QThread::msleep(100);
  EXPECT_EQ(aborted() - before, 2) << "one retry, no more";
  // The failed object stays; closing it reports the close failure as the old client did.
  ASSERT_TRUE(Session.Connection);
  g_Nothing_MainConn();
  EXPECT_EQ(ui->messages.size(), 2);
}

TEST_F(DatabaseTest, UnreachableServerIsARuntimeError)
{
  Session.ConnectionString = QStringLiteral("server=127.0.0.1;port=1;uid=u;pwd=p;database=d;charset=euckr");
  EXPECT_THROW(g_Open_MainConn(), RuntimeError);
}

TEST_F(DatabaseTest, KoreanTextTravelsAsEucKrAndSurvivesAes)
{
  g_Open_MainConn();
  executeSql(QStringLiteral("INSERT INTO T_LAYER (NM, AMT) VALUES ('생계비', 1234567)"));
  EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT HEX(NM) FROM T_LAYER")), QStringLiteral("BBFDB0E8BAF1"))
      << "stored as EUC-KR bytes";
  auto rs = openRecordSet(QStringLiteral("SELECT NM, AMT FROM T_LAYER"));
  EXPECT_EQ(rs->value(QStringLiteral("NM")), QStringLiteral("생계비"));
  EXPECT_EQ(rs->value(QStringLiteral("AMT")), QStringLiteral("1234567"));

  // The key and the text reach AES_ENCRYPT as the same bytes the service's other clients send.
  const QString key = be.cryptKey();
  auto enc = openRecordSet(QStringLiteral("SELECT HEX(AES_ENCRYPT('요양원 관리자', '%1')) AS H").arg(key));
  const QString hex = enc->value(QStringLiteral("H"));
  EXPECT_EQ(hex, be.adminScalar(QStringLiteral("SELECT HEX(AES_ENCRYPT(CONVERT(_utf8mb4'요양원 관리자' USING euckr), '%1'))").arg(key)));
  auto dec = openRecordSet(QStringLiteral("SELECT CAST(AES_DECRYPT(UNHEX('%1'), '%2') AS CHAR) AS T").arg(hex, key));
  EXPECT_EQ(dec->value(QStringLiteral("T")), QStringLiteral("요양원 관리자"));
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, WriteCountsAreRowsMatchedNotRowsChanged)
{
  be.adminExec(QStringLiteral("INSERT INTO T_LAYER (NM, AMT) VALUES ('a', 1), ('a', 2), ('b', 1)"));
  g_Open_MainConn();
  const struct {
    const char* sql;
    qint64 count;
  } cases[] = {
      {"UPDATE T_LAYER SET AMT = 1 WHERE NM = 'a'", 2}, // one row already held 1
      {"UPDATE T_LAYER SET AMT = 1 WHERE NM = 'a'", 2}, // both already hold 1
      {"UPDATE T_LAYER SET AMT = 1 WHERE NM = 'z'", 0},
      {"DELETE FROM T_LAYER WHERE NM = 'b'", 1},
      {"INSERT INTO T_LAYER (NM) VALUES ('c'), ('d')", 2},
  };
  for (const auto& c : cases)
    EXPECT_EQ(executeSql(QLatin1String(c.sql)), c.count) << c.sql;
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, TextOutsideEucKrIsRefusedBeforeAnythingIsSent)
{
  g_Open_MainConn();
  for (const QString& text : {QStringLiteral("점심 😀"), QStringLiteral("𠀀"), QStringLiteral("ŝ")}) {
    try {
      executeSql(QStringLiteral("INSERT INTO T_LAYER (NM) VALUES ('%1')").arg(text));
      FAIL() << "accepted " << text.toStdString();
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number, errors::kUnencodable);
      EXPECT_TRUE(e.description.contains(QStringLiteral("저장할 수 없는 문자")));
    }
  }
  EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM T_LAYER")), QStringLiteral("0"));
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, ServerErrorsCarryTheDriverPrefix)
{
  g_Open_MainConn();
  try {
    openRecordSet(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.nativeCode, 1146);
    EXPECT_TRUE(e.description.startsWith(QStringLiteral("[MySQL][ODBC 3.51 Driver]")));
  }
  // The connection stays usable after a failed statement.
  EXPECT_EQ(openRecordSet(QStringLiteral("SELECT 1 AS A"))->value(QStringLiteral("A")), QStringLiteral("1"));
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, KeyTextsNeverShowInErrorTexts)
{
  Session.CryptKey = QStringLiteral("Key!Login%2024");
  Session.InfoCryptKey = QStringLiteral("Info^Key(77)");
  g_Open_MainConn();
  for (const QString& key : {Session.CryptKey, Session.InfoCryptKey}) {
    // A syntax error makes the server quote the statement from the key on.
    try {
      openRecordSet(QStringLiteral("SELECT , CAST(AES_DECRYPT(UNHEX(NM), '%1') AS CHAR) FROM T_LAYER")
                        .arg(key));
      FAIL();
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.nativeCode, 1064);
      EXPECT_FALSE(e.description.contains(key)) << e.description.toStdString();
      EXPECT_TRUE(e.description.contains(QStringLiteral("***")));
    }
  }
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, ADroppedConnectionIsAnErrorAndTheNextOpenConnectsAgain)
{
  g_Open_MainConn();
  const QString id = openRecordSet(QStringLiteral("SELECT CONNECTION_ID() AS ID"))->value(QStringLiteral("ID"));
  be.adminExec(QStringLiteral("KILL %1").arg(id));
  EXPECT_THROW(openRecordSet(QStringLiteral("SELECT 1 AS A")), RuntimeError);
  g_Nothing_MainConn();
  g_Open_MainConn();
  EXPECT_EQ(openRecordSet(QStringLiteral("SELECT 2 AS A"))->value(QStringLiteral("A")), QStringLiteral("2"));
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, RefusedHostIsDescribedInTheServiceWording)
{
  auto isolated = Backend::startIsolated({});
  Session.ConnectionString = isolated->connectionString();
  try {
    g_Open_MainConn();
    FAIL() << "expected a refusal";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.nativeCode, 1130);
    EXPECT_EQ(e.description, QStringLiteral("[MySQL][ODBC 3.51 Driver]Host '127.0.0.1' is not allowed to "
                                            "connect to this MySQL server"));
  }
}

TEST_F(DatabaseTest, ARecordSetOutlivesItsConnectionAndItsFilterWorksOnFetchedRows)
{
  g_Open_MainConn();
  executeSql(QStringLiteral("INSERT INTO T_LAYER (NM, AMT) VALUES (' 가 ', 1), ('나', NULL), (NULL, 3), ('', 4), ('　다　', 5)"));
  auto rs = openRecordSet(QStringLiteral("SELECT NM, AMT FROM T_LAYER ORDER BY ID"));
  g_Nothing_MainConn();
  ASSERT_EQ(rs->recordCount(), 5);
  QStringList names;
  QList<bool> nulls;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    names << rs->value(QStringLiteral("NM"));
    nulls << rs->isNull(QStringLiteral("NM"));
  }
  EXPECT_EQ(names, (QStringList{QStringLiteral(" 가 "), QStringLiteral("나"), QString(), QString(),
                                QStringLiteral("　다　")}));
  EXPECT_EQ(nulls, (QList<bool>{false, false, true, false, false}));
  for (rs->moveFirst(); !rs->eof(); rs->moveNext())
    EXPECT_EQ(rs->trimmedValue(0), rs->value(0).trimmed());
  rs->setFilter(QStringLiteral("NM = '나' OR AMT = '4'"));
  EXPECT_EQ(rs->recordCount(), 2);
  EXPECT_EQ(rs->value(QStringLiteral("AMT")), QString(""));
  g_Rs_Nothing_Filter(rs);
  EXPECT_FALSE(rs);
}

// Record sets remember short values per column; a column of many distinct values (more
// than are remembered), values differing only in their last or middle bytes and trimmed values
// must still read back exactly, row after row.
TEST_F(DatabaseTest, RememberedColumnValuesReadBackExactly)
{
  g_Open_MainConn();
  auto rs = openRecordSet(QStringLiteral(
      "SELECT CONCAT('코드', seq MOD 300) AS MANY, CONCAT(' ', seq MOD 3, ' ') AS FEW, "
      "CONCAT('가', seq) AS UNIQ, CONCAT('가나다', seq MOD 50, '라마') AS MID FROM seq_1_to_2000"));
  g_Nothing_MainConn();
  ASSERT_EQ(rs->recordCount(), 2000);
  int row = 1;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext(), ++row) {
    ASSERT_EQ(rs->value(0), QStringLiteral("코드%1").arg(row % 300)) << row;
    ASSERT_EQ(rs->trimmedValue(1), QString::number(row % 3)) << row;
    ASSERT_EQ(rs->value(1), QStringLiteral(" %1 ").arg(row % 3)) << row;
    ASSERT_EQ(rs->trimmedValue(2), QStringLiteral("가%1").arg(row)) << row;
    ASSERT_EQ(rs->value(3), QStringLiteral("가나다%1라마").arg(row % 50)) << "differs in the middle: " << row;
  }
}

TEST_F(DatabaseTest, TheWholeKoreanCodePageIsTheServersBothWays)
{
  QString all; // every character the client will send, in code point order
  for (char32_t c = 0x80; c <= 0xFFFF; ++c)
    if (euckr::encode(QString(QChar(static_cast<char16_t>(c)))))
      all += QChar(static_cast<char16_t>(c));
  ASSERT_EQ(all.size(), 17048);

  g_Open_MainConn();
  be.adminExec(QStringLiteral("CREATE OR REPLACE TABLE T_CODEPAGE (TXT MEDIUMTEXT) DEFAULT CHARSET=euckr"));
  executeSql(QStringLiteral("INSERT INTO T_CODEPAGE (TXT) VALUES ('%1')").arg(all));
  const QString stored = be.adminScalar(QStringLiteral("SELECT HEX(TXT) FROM T_CODEPAGE"));
  EXPECT_EQ(stored, QString::fromLatin1(euckr::encode(all)->toHex().toUpper()));
  // The server's own conversion gives the same bytes, so it stored every character ('?' is
  // not among them) and reads them back as the same text.
  EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT HEX(CONVERT(_utf8mb4'%1' USING euckr))").arg(all)), stored);
  EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT TXT FROM T_CODEPAGE")), all);
  EXPECT_EQ(openRecordSet(QStringLiteral("SELECT TXT FROM T_CODEPAGE"))->value(0), all);

  // Every pair the server decodes, in byte order: the client decodes each to the same
  // character, and there are no more of them than the client sends.
  const QString pairs = QStringLiteral(
      "WITH RECURSIVE b(n) AS (SELECT 65 UNION ALL SELECT n + 1 FROM b WHERE n < 254), "
      "p AS (SELECT CONVERT(UNHEX(CONCAT(HEX(l.n), HEX(t.n))) USING euckr) AS c, l.n * 256 + t.n AS k "
      "FROM b l JOIN b t WHERE l.n >= 129), "
      "u AS (SELECT c, k, HEX(CONVERT(c USING utf8mb4)) AS h FROM p) "
      "SELECT GROUP_CONCAT(c ORDER BY k SEPARATOR '') AS S, COUNT(*) AS N FROM u "
      "WHERE LEFT(h, 2) <> '3F'"); // the server shows a pair it cannot read as '?'
  const auto server = be.adminQuery(pairs).value(0);
  ASSERT_EQ(server.size(), 2);
  EXPECT_EQ(server.at(1), QStringLiteral("17048"));
  EXPECT_EQ(openRecordSet(pairs)->value(0), server.at(0));

  // Text another client stored as 똠 and €.
  be.adminExec(QStringLiteral("INSERT INTO T_LAYER (NM) VALUES (UNHEX('8C63A2E6'))"));
  EXPECT_EQ(openRecordSet(QStringLiteral("SELECT NM FROM T_LAYER"))->value(0), QStringLiteral("똠€"));
  be.adminExec(QStringLiteral("DROP TABLE T_CODEPAGE"));
  g_Nothing_MainConn();
}

TEST_F(DatabaseTest, OpeningAndBatchesCostTheFewestRoundTrips)
{
  test::DelayProxy proxy(be.dbPort(), 1);
  Session.ConnectionString = be.connectionString({}, proxy.port());
  // The protocol's own exchanges, without a TLS handshake (on Windows a first TLS
  // connection to a server also reads its greeting on a connection of its own).
  Session.Tls.db = TlsMode::Off;
  g_Open_MainConn();
  const test::LinkCounts opened = proxy.counts();
  EXPECT_EQ(opened.connections, 1);
  EXPECT_EQ(opened.bursts, 1) << "the login answer only: the character set travels in the handshake";

  // 300 statements: a short first exchange (it also learns the server's packet limit),
  // then the rest in one; a refused statement stops the batch with the ones before it.
  const struct {
    int refused;  // index of the statement the table refuses, -1 for none
    int bursts;
  } cases[] = {{-1, 2}, {0, 1}, {2, 1}, {150, 2}, {299, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refused);
    be.adminExec(QStringLiteral("DELETE FROM T_LAYER"));
    QStringList statements;
    for (int i = 0; i < 300; ++i)
      statements << QStringLiteral("INSERT INTO T_LAYER (ID, NM, AMT) VALUES (%1, '행 %1', %2)")
                        .arg(i + 1)
                        .arg(i == c.refused ? QStringLiteral("'not a number'") : QString::number(i));
    // A fresh connection whose session refuses the text in the number column.
    g_Nothing_MainConn();
    g_Open_MainConn();
    Session.Connection->execute(QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES'"));
    const test::LinkCounts before = proxy.counts();
    QList<int> seen;
    bool failed = false;
    try {
      executeSqlBatch(statements, [&](int i, qint64) { seen << i; });
    } catch (const RuntimeError&) {
      failed = true;
    }
    EXPECT_EQ(proxy.counts().bursts - before.bursts, c.bursts);
    const int written = c.refused < 0 ? 300 : c.refused;
    EXPECT_EQ(failed, c.refused >= 0);
    EXPECT_EQ(seen.size(), written);
    EXPECT_EQ(seen.isEmpty() ? -1 : seen.back(), written - 1);
    EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM T_LAYER")), QString::number(written));
    EXPECT_EQ(Session.Connection->openRecordSet(QStringLiteral("SELECT 1 AS One"))->value(0), QStringLiteral("1"))
        << "the connection carries on after a refused statement";
  }
  g_Nothing_MainConn();
}
