// Checks that the test servers behave like the service's servers as the client sees
// them: if one of these fails, every test built on the backend would mislead.
#include "support/TestBackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <mysql.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

using vcm::test::Backend;
using vcm::test::ServerListBehaviour;

namespace {

Backend& backend()
{
  return Backend::shared();
}

#define REQUIRE_BACKEND()                                                                          \
  do {                                                                                             \
    if (!backend().available())                                                                    \
      GTEST_SKIP() << backend().unavailableReason().toStdString();                                \
  } while (0)

/// A client connection over TCP, as the program makes it.
struct Client {
  MYSQL* mysql = mysql_init(nullptr);
  unsigned error = 0;
  QString message;

  explicit Client(const Backend& be, const QString& database = {})
  {
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "euckr");
    const QByteArray host = be.dbHost().toUtf8(), user = be.dbUser().toUtf8(), pw = be.dbPassword().toUtf8(),
                     db = (database.isEmpty() ? be.dbName() : database).toUtf8();
    if (!mysql_real_connect(mysql, host, user, pw, db, static_cast<unsigned>(be.dbPort()), nullptr, 0)) {
      error = mysql_errno(mysql);
      message = QString::fromUtf8(mysql_error(mysql));
    }
  }
  ~Client() { mysql_close(mysql); }

  QList<QList<QByteArray>> rows(const QByteArray& sql)
  {
    QList<QList<QByteArray>> out;
    if (mysql_real_query(mysql, sql.constData(), static_cast<unsigned long>(sql.size())) != 0) {
      ADD_FAILURE() << sql.constData() << ": " << mysql_error(mysql);
      return out;
    }
    MYSQL_RES* res = mysql_store_result(mysql);
    if (!res)
      return out;
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
      const unsigned long* len = mysql_fetch_lengths(res);
      QList<QByteArray> values;
      for (unsigned c = 0; c < mysql_num_fields(res); ++c)
        values << (row[c] ? QByteArray(row[c], static_cast<qsizetype>(len[c])) : QByteArray());
      out << values;
    }
    mysql_free_result(res);
    return out;
  }
};

struct HttpResult {
  CURLcode code = CURLE_OK;
  long status = 0;
  QByteArray body;
  QByteArray headers;
};

size_t appendTo(char* data, size_t size, size_t n, void* target)
{
  static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * n));
  return size * n;
}

HttpResult transfer(const QByteArray& url, const std::function<void(CURL*)>& setup = {})
{
  HttpResult r;
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.constData());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendTo);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &r.body);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, appendTo);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &r.headers);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 20L);
  if (setup)
    setup(curl);
  r.code = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.status);
  curl_easy_cleanup(curl);
  return r;
}

/// The registration request exactly as the program sends it: values unencoded, empty body.
HttpResult registerAddress(const Backend& be, const QString& address = {}, const QString& password = {})
{
  const QString path = address.isEmpty() ? QStringLiteral("/test/GET_LIST_IP.php")
                                         : QStringLiteral("/test/GET_LIST_IP_HP.php");
  const QString strkind = address.isEmpty() ? QStringLiteral("VETRA_MEMBER_LIST")
                                            : QStringLiteral("VETRA_MEMBER_LIST=") + address;
  const QString url = QStringLiteral("http://127.0.0.1:%1%2?host=localhost&id=%3&pw=%4&maindb=%5&db=%6&strkind=%7")
                          .arg(be.serverListPort())
                          .arg(path, be.dbUser(), password.isEmpty() ? be.dbPassword() : password,
                               be.value(QStringLiteral("MAINDB")), be.value(QStringLiteral("MEMBER_DB")), strkind);
  return transfer(url.toUtf8(), [](CURL* curl) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, "");
    static curl_slist* headers = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  });
}

bool userExists(const Backend& be, const QString& host)
{
  return be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM mysql.user WHERE User = '%1' AND Host = '%2'")
                            .arg(be.dbUser(), host)) == QLatin1String("1");
}

QString euckr(const QByteArray& bytes)
{
  QStringDecoder decoder("EUC-KR");
  return decoder.isValid() ? QString(decoder(bytes)) : QString();
}

class PeersTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    REQUIRE_BACKEND();
  }
  void TearDown() override
  {
    if (backend().available()) {
      backend().resetServerList();
      backend().resetHttp();
    }
  }
};

} // namespace

TEST_F(PeersTest, DatabaseSpeaksEucKrWithTheLegacySqlMode)
{
  Client c(backend());
  ASSERT_EQ(c.error, 0u) << c.message.toStdString();
  const auto vars = c.rows("SELECT @@character_set_connection, @@character_set_results, @@sql_mode");
  ASSERT_EQ(vars.size(), 1);
  EXPECT_EQ(vars[0][0], "euckr");
  EXPECT_EQ(vars[0][1], "euckr");
  EXPECT_EQ(vars[0][2], "");

  // Korean text comes back as EUC-KR bytes: two bytes per syllable, decodable.
  const auto name = c.rows("SELECT COM_NM FROM COM_LIST WHERE COM_CD = '" +
                           backend().value("COM_CD").toUtf8() + "'");
  ASSERT_EQ(name.size(), 1);
  const QString expected = backend().value("COM_NM");
  EXPECT_EQ(name[0][0].size(), expected.size() * 2);
  if (QStringDecoder("EUC-KR").isValid()) {
    EXPECT_EQ(euckr(name[0][0]), expected);
  }

  // '' into the auto-numbered key is accepted and numbered (the file transfer relies on it).
  c.rows("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = 'T901'");
  c.rows("INSERT INTO TRANS_FILE_LIST(TRANS_F_NO, COM_CD, REG_MON) VALUES ('', 'T901', '2024.03')");
  c.rows("INSERT INTO TRANS_FILE_LIST(TRANS_F_NO, COM_CD, REG_MON) VALUES ('', 'T901', '2024.03')");
  const auto numbers = c.rows("SELECT TRANS_F_NO FROM TRANS_FILE_LIST WHERE COM_CD = 'T901' ORDER BY 1");
  ASSERT_EQ(numbers.size(), 2);
  EXPECT_GT(numbers[0][0].toInt(), 0);
  EXPECT_GT(numbers[1][0].toInt(), numbers[0][0].toInt());
  c.rows("DELETE FROM TRANS_FILE_LIST WHERE COM_CD = 'T901'");
}

TEST_F(PeersTest, MembersLogInThroughTheEncryptedColumns)
{
  struct Case {
    const char* idKey;
    const char* pwKey;
    const char* comKey;
    int appUse;
  };
  const Case cases[] = {
      {"MEMBER_ID", "MEMBER_PW", "COM_CD", 0},
      {"MAINT_MEMBER_ID", "MAINT_MEMBER_PW", "MAINT_COM_CD", 9},
      {"READONLY_MEMBER_ID", "READONLY_MEMBER_PW", "READONLY_COM_CD", 0},
  };
  Client c(backend());
  ASSERT_EQ(c.error, 0u) << c.message.toStdString();
  const QByteArray key = backend().cryptKey().toUtf8();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.idKey);
    // The login statement's shape: decrypt inside SQL, compare the ID there.
    const QByteArray sql = "SELECT COM_CD , MEMBER_APP_USE"
                           " , CAST(AES_DECRYPT(UNHEX(MEMBER_PW), '" + key + "') AS CHAR) AS MEMBER_PW"
                           " FROM COM_LIST"
                           " WHERE CAST(AES_DECRYPT(UNHEX(MEMBER_ID), '" + key + "') AS CHAR)  = '" +
                           backend().value(k.idKey).toUtf8() + "'";
    const auto rows = c.rows(sql);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], backend().value(k.comKey).toUtf8());
    EXPECT_EQ(rows[0][1].toInt(), k.appUse);
    EXPECT_EQ(rows[0][2], backend().value(k.pwKey).toUtf8());
    // Stored as upper-case hex, never as the plain ID.
    const auto stored = c.rows("SELECT MEMBER_ID FROM COM_LIST WHERE COM_CD = '" +
                               backend().value(k.comKey).toUtf8() + "'");
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]+$").match(QString::fromLatin1(stored[0][0])).hasMatch());
  }
  const auto wrongKey = c.rows("SELECT COM_CD FROM COM_LIST WHERE CAST(AES_DECRYPT(UNHEX(MEMBER_ID), "
                               "'wrongkey000') AS CHAR) = '" + backend().value("MEMBER_ID").toUtf8() + "'");
  EXPECT_TRUE(wrongKey.isEmpty());
}

TEST_F(PeersTest, DemoLedgerIsConsistent)
{
  const Backend& be = backend();
  const QString com = be.value("COM_CD");
  EXPECT_EQ(be.adminScalar("SELECT TRIM(VETRA_MEMBER_V) FROM M_VERSION_INFO_VETRA_MEMBER"), be.value("PROGRAM_VERSION"));
  EXPECT_EQ(be.adminScalar("SELECT FILE_SIZE FROM M_VERSION_INFO_VETRA_MEMBER"),
            QString::number(QFileInfo(be.installerFile()).size()));

  // Which months the member sees: released (9), sent for closing (1), not yet released.
  struct Month {
    const char* key;
    const char* visibleDivs;
  };
  for (const Month& m : {Month{"LEDGER_MONTH", "9"}, Month{"PREVIOUS_MONTH", "9"},
                         Month{"CLOSED_MONTH", "1"}, Month{"HIDDEN_MONTH", "0"}}) {
    SCOPED_TRACE(m.key);
    const QString divs = be.adminScalar(QStringLiteral("SELECT GROUP_CONCAT(DISTINCT TRANS_DIV) FROM DEAL_LIST "
                                                       "WHERE COM_CD = '%1' AND DEAL_MON = '%2'")
                                            .arg(com, be.value(m.key)));
    EXPECT_EQ(divs, QLatin1String(m.visibleDivs));
  }
  const int entries = be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_MON = '%2'")
                                         .arg(com, be.value("LEDGER_MONTH")))
                          .toInt();
  EXPECT_GE(entries, 120);
  EXPECT_LE(entries, 200);

  // Every account, business and bank an entry names exists; an entry's class matches its
  // account's class; part numbers are three digits and every part has a source '001'.
  const char* broken[] = {
      "SELECT COUNT(*) FROM DEAL_LIST d LEFT JOIN SET_ACCOUNT_LIST a ON a.COM_CD = d.COM_CD AND a.ACC_CD = d.DACC_CD "
      "WHERE d.COM_CD = '%1' AND d.DACC_CD <> '' AND (a.ACC_CD IS NULL OR a.ACC_GUBUN <> d.DACC_GUBUN)",
      "SELECT COUNT(*) FROM DEAL_LIST d LEFT JOIN SET_BUSI_LIST b ON b.COM_CD = d.COM_CD AND b.BUSI_CD = d.DBUSI_CD "
      "WHERE d.COM_CD = '%1' AND b.BUSI_CD IS NULL",
      "SELECT COUNT(*) FROM DEAL_LIST d LEFT JOIN SET_BANK_LIST b ON b.COM_CD = d.COM_CD AND b.BANK_CD = d.DBANK_CD "
      "WHERE d.COM_CD = '%1' AND b.BANK_CD IS NULL",
      "SELECT COUNT(*) FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_CD_2 NOT REGEXP '^[0-9]{3}$'",
      "SELECT COUNT(*) FROM DEAL_LIST p WHERE p.COM_CD = '%1' AND p.DEAL_CD_2 <> '001' AND NOT EXISTS "
      "(SELECT 1 FROM DEAL_LIST s WHERE s.COM_CD = p.COM_CD AND s.DEAL_MON = p.DEAL_MON AND s.DEAL_CD = p.DEAL_CD "
      "AND s.DEAL_CD_2 = '001')",
      "SELECT COUNT(*) FROM DEAL_LIST WHERE COM_CD = '%1' AND (DEAL_IN_AMT < 0 OR DEAL_OUT_AMT < 0)",
  };
  for (const char* sql : broken)
    EXPECT_EQ(be.adminScalar(QString::fromLatin1(sql).arg(com)), QLatin1String("0")) << sql;
  EXPECT_GT(be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_CD_2 = '002'").arg(com)).toInt(), 0);

  // One bank's entries are contiguous in entry-code order, or the ledger's order check
  // would complain after every save of the demo.
  for (const char* key : {"LEDGER_MONTH", "PREVIOUS_MONTH", "CLOSED_MONTH"}) {
    const auto rows = be.adminQuery(QStringLiteral("SELECT DBANK_CD FROM DEAL_LIST WHERE COM_CD = '%1' AND DEAL_MON = '%2' "
                                                   "ORDER BY DEAL_CD, DEAL_CD_2").arg(com, be.value(key)));
    QStringList finished;
    QString previous;
    for (const QStringList& r : rows) {
      if (r[0] == previous)
        continue;
      EXPECT_FALSE(finished.contains(r[0])) << key << " bank " << r[0].toStdString();
      if (!previous.isEmpty())
        finished << previous;
      previous = r[0];
    }
  }

  // The quick-entry digits find their accounts by these exact names.
  for (const char* name : {"생계비", "수용비및수수료", "공공요금및제세공과금", "기관운영비", "기타운영비", "차량비",
                           "본인부담금수입", "장기요양급여수입", "기타잡수입"})
    EXPECT_EQ(be.adminScalar(QStringLiteral("SELECT COUNT(*) FROM SET_ACCOUNT_LIST WHERE COM_CD = '%1' AND ACC_NM = '%2'")
                                 .arg(com, QString::fromUtf8(name))),
              QLatin1String("1")) << name;
}

TEST_F(PeersTest, DemoLoadsIntoAnotherDatabase)
{
  const Backend& be = backend();
  const QString name = QStringLiteral("vcm_copy_%1").arg(QCoreApplication::applicationPid());
  be.adminExec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
  ASSERT_NO_THROW(be.createDatabase(name));
  {
    Client c(be, name);
    ASSERT_EQ(c.error, 0u) << c.message.toStdString();
    EXPECT_EQ(c.rows("SELECT COUNT(*) FROM COM_LIST")[0][0], "3");
    // Two years of months (21 older ones, closed, previous, ledger) and the unreleased one.
    EXPECT_EQ(c.rows("SELECT COUNT(DISTINCT DEAL_MON) FROM DEAL_LIST")[0][0], "25");
    EXPECT_EQ(c.rows("SELECT MAX(DEAL_MON) FROM DEAL_LIST WHERE TRANS_DIV = 9")[0][0],
              be.value("LEDGER_MONTH").toUtf8());
  }
  be.adminExec(QStringLiteral("DROP DATABASE `%1`").arg(name));
}

TEST_F(PeersTest, ServerListAnswersAndGrantsPerSwitch)
{
  const Backend& be = backend();
  struct Case {
    const char* answer;
    bool granted;
  };
  // One address per case so the grants of one case cannot satisfy another.
  const Case cases[] = {{"1", true}, {" 1 ", true}, {"0", false}, {"OK", false}, {"", false}};
  int n = 0;
  for (const Case& k : cases) {
    const QString address = QStringLiteral("10.77.%1.%2").arg(QCoreApplication::applicationPid() % 250).arg(++n);
    SCOPED_TRACE(address.toStdString() + " answer '" + k.answer + "'");
    be.adminExec(QStringLiteral("DROP USER IF EXISTS '%1'@'%2'").arg(be.dbUser(), address));
    ServerListBehaviour behaviour;
    behaviour.answer = QString::fromLatin1(k.answer);
    be.setServerList(behaviour);
    be.clearServerListLog();

    const HttpResult r = registerAddress(be, address);
    ASSERT_EQ(r.code, CURLE_OK);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, QByteArray(k.answer));
    EXPECT_EQ(userExists(be, address), k.granted);

    const auto log = be.serverListRequests();
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0].method, "POST");
    EXPECT_EQ(log[0].path, "/test/GET_LIST_IP_HP.php");
    EXPECT_TRUE(log[0].query.endsWith("&strkind=VETRA_MEMBER_LIST=" + address));
    EXPECT_EQ(log[0].header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(log[0].granted, k.granted ? address : QString());
    be.adminExec(QStringLiteral("DROP USER IF EXISTS '%1'@'%2'").arg(be.dbUser(), address));
  }
}

TEST_F(PeersTest, ServerListRefusesWrongRequestsAndCanBeUnreachable)
{
  const Backend& be = backend();
  be.clearServerListLog();
  const HttpResult wrongPassword = registerAddress(be, QStringLiteral("10.78.0.1"), QStringLiteral("nottheword"));
  EXPECT_EQ(wrongPassword.body, "0");
  const HttpResult hostName = registerAddress(be, QStringLiteral("db.example"));
  EXPECT_EQ(hostName.body, "0");
  EXPECT_FALSE(userExists(be, QStringLiteral("10.78.0.1")));
  const auto log = be.serverListRequests();
  ASSERT_EQ(log.size(), 2);
  EXPECT_EQ(log[0].refused, "wrong pw");
  EXPECT_FALSE(log[1].refused.isEmpty());

  ServerListBehaviour down;
  down.listening = false;
  be.setServerList(down);
  EXPECT_EQ(registerAddress(be).code, CURLE_COULDNT_CONNECT);
  be.resetServerList();
  const HttpResult back = registerAddress(be);
  EXPECT_EQ(back.code, CURLE_OK);
  EXPECT_EQ(back.body, "1");
}

TEST_F(PeersTest, RefusedAddressIsAdmittedByRegistration)
{
  std::unique_ptr<vcm::test::IsolatedBackend> iso;
  ASSERT_NO_THROW(iso = Backend::startIsolated());
  ASSERT_TRUE(iso->available());
  {
    Client refused(*iso);
    EXPECT_EQ(refused.error, 1130u);
    // The wording the program's start-up recognises.
    EXPECT_TRUE(refused.message.toUpper().contains("IS NOT ALLOWED TO CONNECT TO THIS MYSQL SERVER"))
        << refused.message.toStdString();
    EXPECT_TRUE(refused.message.contains("'127.0.0.1'")) << refused.message.toStdString();
  }
  // Answering 1 without granting leaves the address refused: the rerun fails again.
  iso->setServerList(ServerListBehaviour{QStringLiteral("1"), false});
  EXPECT_EQ(registerAddress(*iso, QStringLiteral("127.0.0.1")).body, "1");
  EXPECT_EQ(Client(*iso).error, 1130u);

  iso->resetServerList();
  EXPECT_EQ(registerAddress(*iso).body, "1");
  Client admitted(*iso);
  EXPECT_EQ(admitted.error, 0u) << admitted.message.toStdString();
  EXPECT_EQ(iso->serverListRequests().last().granted, "127.0.0.1");

  // The fixture's shared backend is untouched by all this.
  EXPECT_EQ(Client(backend()).error, 0u);
}

TEST_F(PeersTest, HttpServerHonoursRanges)
{
  const Backend& be = backend();
  QFile file(be.installerFile());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray content = file.readAll();
  const qint64 size = content.size();
  ASSERT_GT(size, 1024 * 1024);
  const QByteArray url = QStringLiteral("http://127.0.0.1:%1%2").arg(be.httpPort()).arg(be.value("INSTALLER_URL_PATH")).toUtf8();

  struct Case {
    QByteArray range;  // empty: none
    long status;
    qint64 from;
    qint64 length;
  };
  const Case cases[] = {
      {{}, 200, 0, size},
      {"0-9", 206, 0, 10},
      {QByteArray::number(size - 100) + "-", 206, size - 100, 100},
      {"1000-1999", 206, 1000, 1000},
      {QByteArray::number(size - 1) + "-" + QByteArray::number(size + 50), 206, size - 1, 1},
      {QByteArray::number(size) + "-", 416, 0, -1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.range.constData());
    const HttpResult r = transfer(url, [&](CURL* curl) {
      if (!k.range.isEmpty())
        curl_easy_setopt(curl, CURLOPT_RANGE, k.range.constData());
    });
    ASSERT_EQ(r.code, CURLE_OK);
    EXPECT_EQ(r.status, k.status);
    if (k.length >= 0) {
      EXPECT_EQ(r.body, content.mid(k.from, k.length));
    }
    if (k.status == 206) {
      EXPECT_TRUE(r.headers.contains(QStringLiteral("Content-Range: bytes %1-%2/%3")
                                         .arg(k.from).arg(k.from + k.length - 1).arg(size).toUtf8()));
    }
  }

  // A dropped connection delivers a prefix; a resumed request completes it.
  be.setHttp({0, 0, 5000});
  const HttpResult cut = transfer(url);
  EXPECT_NE(cut.code, CURLE_OK);
  EXPECT_EQ(cut.body, content.left(5000));
  be.resetHttp();
  const HttpResult rest = transfer(url, [](CURL* curl) { curl_easy_setopt(curl, CURLOPT_RESUME_FROM_LARGE, curl_off_t{5000}); });
  EXPECT_EQ(cut.body + rest.body, content);

  be.setHttp({404});
  EXPECT_EQ(transfer(url).status, 404);
}

TEST_F(PeersTest, FtpServerTakesTheDatabaseAccount)
{
  const Backend& be = backend();
  const auto login = [&](const QString& password) {
    return [user = (be.ftpUser() + ":" + password).toUtf8()](CURL* curl) {
      curl_easy_setopt(curl, CURLOPT_USERPWD, user.constData());
    };
  };
  const QByteArray base = QStringLiteral("ftp://127.0.0.1:%1").arg(be.ftpPort()).toUtf8();

  const HttpResult listing = transfer(base + "/var/www/html/", login(be.ftpPassword()));
  ASSERT_EQ(listing.code, CURLE_OK);
  EXPECT_TRUE(listing.body.contains("Vetra_Care_Setup_Up_Member.exe"));

  EXPECT_EQ(transfer(base + "/", login(QStringLiteral("wrong"))).code, CURLE_LOGIN_DENIED);

  // Upload under a generated name into the shared folder, as the file transfer does.
  const QByteArray payload = "receipt scan " + QByteArray::number(QCoreApplication::applicationPid());
  const QByteArray name = "T901_20240305140709_" + QByteArray::number(QCoreApplication::applicationPid());
  QByteArray source = payload;
  const HttpResult up = transfer(base + "/home/Vetra_Care_01/VETRA_CARE_ADD_FILE/" + name, [&](CURL* curl) {
    login(be.ftpPassword())(curl);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, +[](char* buf, size_t size, size_t n, void* src) -> size_t {
      auto* data = static_cast<QByteArray*>(src);
      const size_t take = std::min(size * n, static_cast<size_t>(data->size()));
      memcpy(buf, data->constData(), take);
      data->remove(0, static_cast<qsizetype>(take));
      return take;
    });
    curl_easy_setopt(curl, CURLOPT_READDATA, &source);
  });
  ASSERT_EQ(up.code, CURLE_OK);
  QFile stored(be.ftpRoot() + "/home/Vetra_Care_01/VETRA_CARE_ADD_FILE/" + QString::fromLatin1(name));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), payload);
  stored.remove();
}
