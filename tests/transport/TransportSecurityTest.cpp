// Every channel under each TLS mode against a server that offers TLS, one that offers
// none, a certificate for another name, a CA that signed nothing of it and pins.
#include "TlsBackend.h"

#include "common/CurlTls.h"
#include "common/Deployment.h"
#include "common/MainConn.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "mainwindow/MainWindow.h"
#include "startup/AccessRegistration.h"
#include "startup/Secrets.h"
#include "platform/ScriptedUi.h"
#include "transfer/FtpRoutines.h"
#include "transfer/FtpSession.h"
#include "update/Ctl_DN.h"
#include "../transfer/RecordingIndicator.h"
#include "support/FileAccess.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>

using namespace vcm;
using namespace vcm::test;

namespace {

enum class Server { OffersTls, OffersNone, OtherName };
enum class Outcome { Encrypted, Clear, Refused };

struct Case {
  TlsMode mode;
  Trust trust;
  Server server;
  Outcome expected;
};

std::string describe(const Case& c)
{
  static const char* servers[] = {"tls-server", "plain-server", "other-name"};
  return std::string(modeName(c.mode)) + "/" + trustName(c.trust) + "/" +
         servers[static_cast<int>(c.server)];
}

// The same table serves every channel: what a mode promises does not depend on it.
const Case kCases[] = {
    {TlsMode::Off, Trust::None, Server::OffersTls, Outcome::Clear},
    {TlsMode::Preferred, Trust::None, Server::OffersTls, Outcome::Encrypted},
    {TlsMode::Preferred, Trust::None, Server::OffersNone, Outcome::Clear},
    {TlsMode::Preferred, Trust::Ca, Server::OffersNone, Outcome::Clear},
    {TlsMode::Preferred, Trust::Ca, Server::OffersTls, Outcome::Encrypted},
    {TlsMode::Preferred, Trust::WrongCa, Server::OffersTls, Outcome::Refused},
    {TlsMode::Preferred, Trust::Ca, Server::OtherName, Outcome::Refused},
    {TlsMode::Required, Trust::Ca, Server::OffersTls, Outcome::Encrypted},
    {TlsMode::Required, Trust::Ca, Server::OffersNone, Outcome::Refused},
    {TlsMode::Required, Trust::None, Server::OffersNone, Outcome::Refused},
    {TlsMode::Required, Trust::None, Server::OffersTls, Outcome::Refused},  // test CA not in the system store
    {TlsMode::Required, Trust::WrongCa, Server::OffersTls, Outcome::Refused},
    {TlsMode::Required, Trust::Ca, Server::OtherName, Outcome::Refused},
    {TlsMode::Required, Trust::Pin, Server::OffersTls, Outcome::Encrypted},
    {TlsMode::Required, Trust::WrongPin, Server::OffersTls, Outcome::Refused},
    {TlsMode::Required, Trust::Pin, Server::OffersNone, Outcome::Refused},
};

/// What a case must come to here: with Schannel a pin cannot be checked before the
/// login, so the client refuses every pinned connection there (README).
Outcome expected(const Case& c)
{
#ifdef Q_OS_WIN
  if (c.trust == Trust::Pin)
    return Outcome::Refused;
#endif
  return c.expected;
}

using TransportSecurityTest = TlsBackendTest;

/// One case of the table, on each channel.
class TransportCaseTest : public TlsBackendTest, public ::testing::WithParamInterface<Case> {
protected:
  /// Why this platform's curl cannot show the outcome the case expects; empty when it can.
  std::string curlLimit(const Case& c)
  {
    if (expected(c) == Outcome::Refused && c.trust == Trust::None && c.server != Server::OffersNone)
      return curlValidationLimit(*be);
    return {};
  }
};

/// The database connection string of a case: the server that offers none is the port
/// that strips the offer from MariaDB's greeting; the other name is "localhost", which
/// the certificate (made for 127.0.0.1 only) does not name.
QString dbConnectionString(const Backend& be, Server server)
{
  QString cs = be.connectionString({}, server == Server::OffersNone
                                           ? be.number(QStringLiteral("DB_PLAIN_PORT"))
                                           : 0);
  if (server == Server::OtherName)
    cs.replace(QStringLiteral("server=127.0.0.1"), QStringLiteral("server=localhost"));
  return cs;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Table, TransportCaseTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = describe(info.param);
                           std::replace_if(name.begin(), name.end(), [](char ch) { return !isalnum(ch); }, '_');
                           return name;
                         });

TEST_P(TransportCaseTest, DatabaseHonoursTheModeAndReportsTheCipher)
{
  const Case& c = GetParam();
  Session.Tls = trustFor(*be, c.trust);
  Session.Tls.db = c.mode;
  Session.ConnectionString = dbConnectionString(*be, c.server);
  DbLinkProtection seen;
  setDbLinkObserver([&](const DbLinkProtection& p) { seen = p; });
  QString failure;
  try {
    g_Open_MainConn();
  } catch (const RuntimeError& e) {
    failure = e.description;
  }
  setDbLinkObserver({});
  if (expected(c) == Outcome::Refused) {
    EXPECT_TRUE(failure.contains(kTlsRequiredFailure)) << failure.toStdString();
    EXPECT_FALSE(failure.contains(be->dbPassword()));
    if (const std::string limit = connectorCaStoreLimit(failure); !limit.empty())
      GTEST_SKIP() << "refused, but before the certificate was checked: " << limit;
    return;
  }
  if (const std::string limit = connectorCaStoreLimit(failure); !limit.empty())
    GTEST_SKIP() << limit;
  ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
  const bool encrypted = expected(c) == Outcome::Encrypted;
  EXPECT_EQ(seen.encrypted, encrypted);
  EXPECT_EQ(Session.DbLink.encrypted, encrypted);
  if (encrypted)
    EXPECT_TRUE(seen.tlsVersion.startsWith(QStringLiteral("TLSv1."))) << seen.tlsVersion.toStdString();
  // What the server says it runs is what the client reports.
  auto rs = openRecordSet(QStringLiteral("SHOW STATUS LIKE 'Ssl_cipher'"));
  const QString serverCipher = rs->value(QStringLiteral("Value"));
  g_Rs_Nothing(rs);
  g_Nothing_MainConn();
#ifdef Q_OS_WIN
  if (encrypted && seen.cipher.isEmpty() && !serverCipher.isEmpty())
    GTEST_SKIP() << "Wine's Schannel gives no name for an AEAD cipher suite (secur32: get_hash_str "
                    "'unknown mac'), so the connector reports none; the server runs "
                 << serverCipher.toStdString();
#endif
  EXPECT_EQ(serverCipher, seen.cipher);
}

TEST_P(TransportCaseTest, FtpHonoursTheModeWithAProtectedDataChannel)
{
  const Case& c = GetParam();
  if (const std::string limit = curlLimit(c); !limit.empty())
    GTEST_SKIP() << limit;
  QTemporaryDir dir;
  const QString local = dir.filePath(QStringLiteral("upload.bin"));
  QFile file(local);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const QByteArray content = QByteArray(1000, 'x') + "tail";
  file.write(content);
  file.close();
  const QString uploadDir = be->value(QStringLiteral("FTP_UPLOAD_DIR"));
  {
    Session.Tls = trustFor(*be, c.trust);
    Session.Tls.ftp = c.mode;
    const int port = be->number(c.server == Server::OffersTls   ? QStringLiteral("FTPS_PORT")
                                : c.server == Server::OtherName ? QStringLiteral("FTPS_OTHER_PORT")
                                                                : QStringLiteral("FTP_PORT"));
    ui->messages.clear();
    be->clearFtpLog();
    const bool opened = g_FtpOpen(QStringLiteral("127.0.0.1"), QString::number(port),
                                  be->ftpUser(), be->ftpPassword());
    if (expected(c) == Outcome::Refused) {
      EXPECT_FALSE(opened);
      ASSERT_EQ(ui->messages.size(), 1);
      EXPECT_EQ(ui->messages.first().text, tlsRequiredNotice());
      // Nothing that matters was sent in the clear: no password reached the server.
      for (const FtpCommand& cmd : be->ftpCommands())
        EXPECT_NE(cmd.command, QStringLiteral("PASS"));
      return;
    }
    ASSERT_TRUE(opened);
    EXPECT_EQ(ftpSession().isProtected(), expected(c) == Outcome::Encrypted);
    ASSERT_TRUE(g_FTPSetDir(uploadDir));
    RecordingIndicator progress;
    const QString remote = QStringLiteral("tls-%1.bin").arg(QString::fromStdString(describe(c)).replace(u'/', u'-'));
    ASSERT_TRUE(g_FTPUpload(local, remote, progress, QStringLiteral("완료")));
    const QString down = dir.filePath(QStringLiteral("down.bin"));
    ASSERT_TRUE(g_FtpDownload(down, remote, content.size(), progress));
    QFile back(down);
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), content);
    g_FtpClose();
    bool protectedData = false;
    for (const FtpCommand& cmd : be->ftpCommands())
      protectedData |= cmd.command == QStringLiteral("PROT") && cmd.arg == QStringLiteral("P");
    EXPECT_EQ(protectedData, expected(c) == Outcome::Encrypted);
  }
}

TEST_P(TransportCaseTest, InstallerDownloadHonoursTheMode)
{
  const Case& c = GetParam();
  if (const std::string limit = curlLimit(c); !limit.empty())
    GTEST_SKIP() << limit;
  const QString path = be->value(QStringLiteral("INSTALLER_URL_PATH"));
  // A web server without TLS: its HTTPS address reaches a plain HTTP port.
  const int httpsPort = be->number(c.server == Server::OffersTls   ? QStringLiteral("HTTPS_PORT")
                                   : c.server == Server::OtherName ? QStringLiteral("HTTPS_OTHER_PORT")
                                                                   : QStringLiteral("HTTP_PORT"));
  Ctl_DN dn;
  dn.GetFileInformationFirst(httpAddresses(QStringLiteral("127.0.0.1"), be->httpPort(), httpsPort,
                                           path, c.mode),
                             c.mode, trustFor(*be, c.trust));
  if (expected(c) == Outcome::Refused) {
    EXPECT_EQ(dn.FileSize(), 0) << dn.Url().toStdString();
    return;
  }
  EXPECT_EQ(dn.FileSize(), be->number(QStringLiteral("INSTALLER_SIZE")));
  EXPECT_EQ(dn.Url().startsWith(QStringLiteral("https://")), expected(c) == Outcome::Encrypted)
      << dn.Url().toStdString();
}

TEST_F(TransportSecurityTest, ServerListIsAskedOverHttpsOrNotAtAll)
{
  Session.DbUser = be->dbUser();
  Session.DbPassword = be->dbPassword();
  Session.ServiceMainDb = be->value(QStringLiteral("MAINDB"));
  Session.ServiceDb = be->value(QStringLiteral("MEMBER_DB"));
  Session.ServerListHost = QStringLiteral("127.0.0.1:%1").arg(be->serverListPort());
  const QString httpsHost = QStringLiteral("127.0.0.1:%1").arg(be->value(QStringLiteral("HTTPS_PORT")));
  const struct {
    TlsMode mode;
    Trust trust;
    bool admitted;
  } cases[] = {
      {TlsMode::Required, Trust::Ca, true},
      {TlsMode::Required, Trust::Pin, true},
      {TlsMode::Required, Trust::WrongCa, false},
      // A named CA that rejects the certificate is not followed by plain HTTP.
      {TlsMode::Preferred, Trust::WrongCa, false},
  };
  for (auto c : cases) {
    SCOPED_TRACE(std::string(modeName(c.mode)) + "/" + trustName(c.trust));
#ifdef Q_OS_WIN
    c.admitted &= c.trust != Trust::Pin;  // refused by design, see expected()
#endif
    Session.Tls = trustFor(*be, c.trust);
    Session.Tls.http = c.mode;
    Session.HttpsPort = be->number(QStringLiteral("HTTPS_PORT"));
    be->clearServerListLog();
    ui->messages.clear();
    bool ended = false;
    try {
      g_Send_IP();
    } catch (const ProcessEnded&) {
      ended = true;
    }
    const auto requests = be->serverListRequests();
    EXPECT_EQ(ended, !c.admitted);
    if (!c.admitted) {
      EXPECT_TRUE(requests.isEmpty());
      EXPECT_EQ(ui->texts(), (QStringList{tlsRequiredNotice(), registration::failureMessage()}));
      continue;
    }
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().header(QStringLiteral("Host")), httpsHost);  // the HTTPS peer
  }
}

TEST_F(TransportSecurityTest, TheBackendsDeploymentFileProtectsEveryChannel)
{
  // The demo's file: preferred everywhere with the backend's CA beside it.
  Deployment deployment;
  QString why;
  ASSERT_TRUE(deployment.load(be->deployFile(), &why)) << why.toStdString();
  buildSecrets(deployment);
  Session.ConnectionString = buildConnectionString();
  std::string dbLimit;
  try {
    g_Open_MainConn();
    EXPECT_TRUE(Session.DbLink.encrypted);
    g_Nothing_MainConn();
  } catch (const RuntimeError& e) {
    dbLimit = connectorCaStoreLimit(e.description);
    if (dbLimit.empty())
      throw;
  }
  ASSERT_TRUE(g_FtpOpen(Session.ServerAddress, QString::number(Session.FtpPort), Session.FtpUser,
                        Session.DbPassword));
  EXPECT_TRUE(ftpSession().isProtected());
  g_FtpClose();
  g_Send_IP();
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join(u'\n').toStdString();
  if (!dbLimit.empty())
    GTEST_SKIP() << "FTP and the server list ran protected; the database link cannot: " << dbLimit;
}

TEST_F(TransportSecurityTest, MainWindowStatusLineFollowsTheDatabaseLink)
{
  MainWindow window;
  auto* text = window.findChild<QLabel*>(QStringLiteral("lblDbLink"));
  ASSERT_TRUE(text);
  EXPECT_EQ(text->text(), QStringLiteral("암호화되지 않은 연결"));
  Session.ConnectionString = dbConnectionString(*be, Server::OffersTls);
  Session.Tls = trustFor(*be, Trust::None);
  Session.Tls.db = TlsMode::Preferred;
  g_Open_MainConn();
  g_Nothing_MainConn();
  EXPECT_TRUE(text->text().startsWith(QStringLiteral("보안 연결 TLSv1."))) << text->text().toStdString();
  EXPECT_TRUE(text->text().contains(Session.DbLink.cipher));
  Session.Tls.db = TlsMode::Off;
  g_Open_MainConn();
  g_Nothing_MainConn();
  EXPECT_EQ(text->text(), QStringLiteral("암호화되지 않은 연결"));
}

namespace {

/// Loads a deployment file made of the required recipes plus `extra` lines.
bool loadDeployment(const QTemporaryDir& dir, const QString& extra, Deployment* out, QString* why)
{
  QString text;
  for (const char* key : {"server_address", "db_user", "ftp_user", "db_password", "db_name",
                          "crypt_key", "server_list_host", "maindb", "db"})
    text += QLatin1String(key) + QStringLiteral(" = l0 l1\n");
  const QString path = dir.filePath(QStringLiteral("deploy.ini"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return false;
  file.write((text + extra).toUtf8());
  file.close();
  // Windows reads the access list, not the permission bits Qt sets there.
  if (!restrictToOwner(path))
    return false;
  return out->load(path, why);
}

} // namespace

TEST(TransportSettingsTest, DeploymentNamesModesAndTrust)
{
  QTemporaryDir dir;
  QFile ca(dir.filePath(QStringLiteral("service-ca.pem")));
  ASSERT_TRUE(ca.open(QIODevice::WriteOnly));
  ca.write("-----BEGIN CERTIFICATE-----\n");
  ca.close();
  const QString pin = QStringLiteral("AB:") + QStringLiteral("0F:").repeated(30) + QStringLiteral("CD");
  const struct {
    QString extra;
    bool loads;
    TlsMode db, ftp, http;
    QString caFile;
    int pinBytes;
  } cases[] = {
      {{}, true, TlsMode::Preferred, TlsMode::Preferred, TlsMode::Preferred, {}, 0},
      {QStringLiteral("db_tls = required\nftp_tls = OFF\nhttp_tls = preferred\n"), true,
       TlsMode::Required, TlsMode::Off, TlsMode::Preferred, {}, 0},
      {QStringLiteral("tls_ca = service-ca.pem\n"), true, TlsMode::Preferred, TlsMode::Preferred,
       TlsMode::Preferred, ca.fileName(), 0},
      {QStringLiteral("tls_ca = ") + pin + QLatin1Char('\n'), true, TlsMode::Preferred,
       TlsMode::Preferred, TlsMode::Preferred, {}, 32},
      {QStringLiteral("db_tls = always\n"), false, {}, {}, {}, {}, 0},
      {QStringLiteral("tls_ca = missing.pem\n"), false, {}, {}, {}, {}, 0},
      {QStringLiteral("tls_ca = /etc/ssl/certs/ca-certificates.crt\n"), false, {}, {}, {}, {}, 0},
      {QStringLiteral("tls_ca = ") + pin.left(pin.size() - 3) + QLatin1Char('\n'), false, {}, {}, {}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.extra.toStdString());
    Deployment d;
    QString why;
    ASSERT_EQ(loadDeployment(dir, c.extra, &d, &why), c.loads) << why.toStdString();
    if (!c.loads) {
      EXPECT_TRUE(why.contains(QStringLiteral("deploy.ini")));
      continue;
    }
    const TransportSecurity& t = d.transportSecurity();
    EXPECT_EQ(t.db, c.db);
    EXPECT_EQ(t.ftp, c.ftp);
    EXPECT_EQ(t.http, c.http);
    EXPECT_EQ(t.caFile, c.caFile);
    EXPECT_EQ(t.pinnedSha256.size(), c.pinBytes);
  }
}

TEST(TransportSettingsTest, HttpAddressesFollowTheMode)
{
  const struct {
    QString host;
    TlsMode mode;
    QStringList urls;
  } cases[] = {
      {QStringLiteral("10.0.0.5"), TlsMode::Off, {QStringLiteral("http://10.0.0.5/x")}},
      {QStringLiteral("10.0.0.5"), TlsMode::Preferred,
       {QStringLiteral("https://10.0.0.5/x"), QStringLiteral("http://10.0.0.5/x")}},
      {QStringLiteral("10.0.0.5:8080"), TlsMode::Required, {QStringLiteral("https://10.0.0.5/x")}},
      {QStringLiteral("10.0.0.5:8080"), TlsMode::Preferred,
       {QStringLiteral("https://10.0.0.5/x"), QStringLiteral("http://10.0.0.5:8080/x")}},
  };
  for (const auto& c : cases) {
    QStringList urls;
    for (const HttpAddress& a : httpAddresses(c.host, 80, 443, QStringLiteral("/x"), c.mode))
      urls << a.url;
    EXPECT_EQ(urls, c.urls) << c.host.toStdString();
  }
  EXPECT_EQ(httpAddresses(QStringLiteral("h"), 81, 8443, QStringLiteral("/x"), TlsMode::Preferred)
                .first()
                .url,
            QStringLiteral("https://h:8443/x"));
}
