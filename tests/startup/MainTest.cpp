// The whole start-up against a real MariaDB and the server-list peer.
#include "RecordingScreens.h"

#include "common/Deployment.h"
#include "common/Regist.h"
#include "common/Session.h"
#include "platform/ScriptedUi.h"
#include "startup/AccessRegistration.h"
#include "startup/Main.h"
#include "startup/Secrets.h"
#include "support/TestBackend.h"
#include "support/FileAccess.h"
#include "support/ScratchSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace vcm;
using test::Backend;
using test::RecordingScreens;
using test::ServerListBehaviour;

const QString kFailure = registration::failureMessage();

std::string str(const QString& s) { return s.toStdString(); }

/// One backend for the whole suite, so that switching the peer or editing the version
/// table never disturbs other test programs running at the same time.
class StartupTest : public ::testing::Test {
protected:
  static void SetUpTestSuite()
  {
    useOwnRuntimeFolder();
    try {
      s_backend = Backend::startIsolated({.noLocalGrant = false, .schemaOnly = true});
    } catch (const test::BackendError& e) {
      s_error = QString::fromUtf8(e.what());
    }
  }
  static void TearDownTestSuite()
  {
    s_backend.reset();
    s_runtime.reset();
  }

  void SetUp() override
  {
    ASSERT_TRUE(available()) << str(s_error);
    ASSERT_TRUE(m_dir.isValid());
    Session.reset();
    test::useScratchSettings(m_dir.filePath(QStringLiteral("settings.ini")));
    qputenv("VCM_PROGRAM_DIR", m_dir.filePath(QStringLiteral("program")).toLocal8Bit());
    QDir().mkpath(m_dir.filePath(QStringLiteral("program")));
    backend().resetServerList();
    backend().clearServerListLog();
    setVersionRow(QStringLiteral("1.0.57"), QStringLiteral("1234567"));
    writeDeploy();
  }

  void TearDown() override
  {
    Session.Connection.reset();
    Session.reset();
    test::dropScratchSettings();
  }

  virtual bool available() const { return s_backend != nullptr; }
  virtual const Backend& backend() const { return *s_backend; }

  static void useOwnRuntimeFolder()
  {
    s_runtime = std::make_unique<QTemporaryDir>();
    qputenv("VCM_RUNTIME_DIR", s_runtime->path().toLocal8Bit());
  }

  void writeDeploy(const QString& serverAddress = QStringLiteral("127.0.0.1"))
  {
    const Backend& be = backend();
    const auto line = [](const char* key, const QString& value) {
      return QString::fromLatin1(key) + QStringLiteral(" = ") + Deployment::recipeFor(value);
    };
    const QStringList lines = {
        line("server_address", serverAddress),
        line("db_user", be.dbUser()),
        line("ftp_user", be.ftpUser()),
        line("db_password", be.dbPassword()),
        line("db_name", be.dbName()),
        line("crypt_key", be.cryptKey()),
        line("server_list_host", QStringLiteral("127.0.0.1:%1").arg(be.serverListPort())),
        line("maindb", be.value(QStringLiteral("MAINDB"))),
        line("db", be.value(QStringLiteral("MEMBER_DB"))),
        QStringLiteral("db_port = %1").arg(be.dbPort()),
    };
    const QString path = m_dir.filePath(QStringLiteral("deploy.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(lines.join(QLatin1Char('\n')).toUtf8());
    f.close();
    ASSERT_TRUE(vcm::test::restrictToOwner(path));
    qputenv("VETRA_CARE_DEPLOY", path.toLocal8Bit());
  }

  void setVersionRow(const QString& version, const QString& size)
  {
    backend().adminExec(QStringLiteral("DELETE FROM M_VERSION_INFO_VETRA_MEMBER;"
                                       "INSERT INTO M_VERSION_INFO_VETRA_MEMBER VALUES ('%1', '%2');")
                            .arg(version, size));
  }

  static void setCheck(const char* name, QString value)
  {
    Reg_SaveString(HKEY_CURRENT_USER_ROOT, SettingsKey + QStringLiteral("Chk"),
                   QString::fromLatin1(name), value);
  }

  QString serverToday() const
  {
    return backend().adminScalar(QStringLiteral("SELECT DATE_FORMAT(NOW(), '%Y.%m.%d')"));
  }

  QString expectedQuery(const QString& strkind) const
  {
    const Backend& be = backend();
    return QStringLiteral("host=localhost&id=%1&pw=%2&maindb=%3&db=%4&strkind=%5")
        .arg(be.dbUser(), be.dbPassword(), be.value(QStringLiteral("MAINDB")),
             be.value(QStringLiteral("MEMBER_DB")), strkind);
  }

  QTemporaryDir m_dir;
  ScopedScriptedUi m_ui;
  RecordingScreens m_screens;

  static inline std::unique_ptr<test::IsolatedBackend> s_backend;
  static inline std::unique_ptr<QTemporaryDir> s_runtime;
  static inline QString s_error;
};

TEST_F(StartupTest, NormalStartRegistersShowsLoginAndReadsTheServerDate)
{
  Main(m_screens);

  EXPECT_TRUE(m_ui->messages.isEmpty()) << str(m_ui->texts().join(QLatin1Char('\n')));
  EXPECT_EQ(m_screens.calls, (QStringList{"loading", "unload", "login", "unload"}));
  EXPECT_TRUE(m_screens.connectionOpenAtLogin);
  EXPECT_TRUE(m_screens.secretsSetAtLogin);
  EXPECT_EQ(Session.ServerDate, serverToday());
  EXPECT_EQ(Session.SqlText, QStringLiteral("SELECT NOW() AS NOWDT"));
  EXPECT_FALSE(Session.Connection) << "start-up must close its connection";
  EXPECT_EQ(m_ui->cursors.last(), Cursor::Normal);
  EXPECT_TRUE(QFileInfo(m_dir.filePath(QStringLiteral("program/ErrTxt"))).isDir());

  const auto requests = backend().serverListRequests();
  ASSERT_EQ(requests.size(), 1);
  const auto& r = requests[0];
  EXPECT_EQ(r.method, QStringLiteral("POST"));
  EXPECT_EQ(r.path, QStringLiteral("/test/GET_LIST_IP.php"));
  EXPECT_EQ(r.query, expectedQuery(QStringLiteral("VETRA_MEMBER_LIST")));
  EXPECT_EQ(r.header(QStringLiteral("Content-Type")), QStringLiteral("application/x-www-form-urlencoded"));
  EXPECT_TRUE(r.body.isEmpty());
  EXPECT_EQ(r.granted, QStringLiteral("127.0.0.1"));
}

TEST_F(StartupTest, RegistrationRunsUnlessTheSwitchReadsExactlyOne)
{
  const struct {
    const char* value;
    bool registers;
  } cases[] = {{"1", false}, {" 1 ", false}, {"1.0", false}, {"0", true},
               {"", true},   {"yes", true},  {"2", true},    {"11", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    Session.reset();
    backend().clearServerListLog();
    m_screens.calls.clear();
    setCheck("chk_IP_List", QString::fromUtf8(c.value));
    Main(m_screens);
    EXPECT_EQ(backend().serverListRequests().size(), c.registers ? 1 : 0);
    EXPECT_TRUE(m_screens.calls.contains(QStringLiteral("login")));
  }
}

TEST_F(StartupTest, PublishedVersionDecidesBetweenLoginAndUpdate)
{
  const struct {
    const char* version;
    const char* fileSize;
    bool update;
    qint32 size;
  } cases[] = {{"1.0.57 ", "1234567", false, 0},
               {"1.0.057", "1234567", true, 1234567},
               {"1.0.56", "1234567", true, 1234567},
               {"1.0.58", "", true, 0},
               {"1.0.56", " 2048 ", true, 2048}};
  setCheck("chk_IP_List", QStringLiteral("1"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    Session.reset();
    m_screens = RecordingScreens{};
    setVersionRow(QString::fromUtf8(c.version), QString::fromUtf8(c.fileSize));
    Main(m_screens);
    EXPECT_TRUE(m_ui->messages.isEmpty()) << str(m_ui->texts().join(QLatin1Char('\n')));
    if (c.update) {
      EXPECT_EQ(m_screens.calls, (QStringList{"loading", "unload", "update", "unload"}));
      EXPECT_EQ(m_screens.sizeAtUpdate, c.size);
      EXPECT_TRUE(m_screens.connectionOpenAtUpdate);
    } else {
      EXPECT_EQ(m_screens.calls, (QStringList{"loading", "unload", "login", "unload"}));
    }
    EXPECT_EQ(Session.ServerDate, serverToday());
  }
}

TEST_F(StartupTest, UpdateSwitchSkipsTheVersionQueryButNotTheDate)
{
  setCheck("chk_IP_List", QStringLiteral("1"));
  setCheck("Update_Div", QStringLiteral(" 1"));
  // An empty version table would fail the version query, were it run.
  backend().adminExec(QStringLiteral("DELETE FROM M_VERSION_INFO_VETRA_MEMBER"));
  Main(m_screens);
  EXPECT_TRUE(m_ui->messages.isEmpty()) << str(m_ui->texts().join(QLatin1Char('\n')));
  EXPECT_EQ(m_screens.calls, (QStringList{"loading", "unload", "login", "unload"}));
  EXPECT_EQ(Session.ServerDate, serverToday());
}

TEST_F(StartupTest, EmptyVersionTableGivesTheErrorNoticeAndNoLogin)
{
  setCheck("chk_IP_List", QStringLiteral("1"));
  backend().adminExec(QStringLiteral("DELETE FROM M_VERSION_INFO_VETRA_MEMBER"));
  Main(m_screens);
  ASSERT_EQ(m_ui->messages.size(), 1);
  EXPECT_EQ(m_ui->messages[0].title, QStringLiteral("오류안내(3021)"));
  EXPECT_TRUE(m_ui->messages[0].text.endsWith(QStringLiteral("(Sub)Main")));
  EXPECT_EQ(m_screens.calls, (QStringList{"loading", "unload", "unload"}));
  EXPECT_TRUE(Session.ServerDate.isEmpty());
  EXPECT_FALSE(Session.Connection);
}

TEST_F(StartupTest, ServiceAnswersDecideRetriesAndTheEnd)
{
  const struct {
    const char* answer;
    bool listening;
    bool registered;
    int requests;
  } cases[] = {{"1 ", true, true, 1}, {" 1", true, true, 1}, {"0", true, false, 5},
               {"OK", true, false, 1}, {"", true, false, 1},  {"1", false, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("answer '") + c.answer + (c.listening ? "'" : "' (not listening)"));
    Session.reset();
    m_ui->clear();
    m_screens = RecordingScreens{};
    backend().setServerList(ServerListBehaviour{.answer = QString::fromUtf8(c.answer),
                                                .grant = std::nullopt,
                                                .listening = c.listening});
    backend().clearServerListLog();
    if (c.registered) {
      Main(m_screens);
      EXPECT_TRUE(m_ui->messages.isEmpty());
      EXPECT_TRUE(m_screens.calls.contains(QStringLiteral("login")));
    } else {
      EXPECT_THROW(Main(m_screens), ProcessEnded);
      ASSERT_EQ(m_ui->messages.size(), 1);
      EXPECT_EQ(m_ui->messages[0].text, kFailure);
      EXPECT_EQ(m_ui->messages[0].title, QStringLiteral("작업안내"));
      EXPECT_EQ(m_ui->messages[0].icon, Icon::Exclamation);
      EXPECT_TRUE(m_screens.calls.isEmpty()) << "nothing is shown before the admission";
    }
    EXPECT_EQ(backend().serverListRequests().size(), c.requests);
    EXPECT_EQ(m_ui->pauses, QList<int>(c.requests == 5 ? 4 : 0, 300));
  }
  backend().resetServerList();
}

TEST_F(StartupTest, MissingDeploymentFileEndsBeforeAnyRequest)
{
  qputenv("VETRA_CARE_DEPLOY", m_dir.filePath(QStringLiteral("absent.ini")).toLocal8Bit());
  EXPECT_THROW(Main(m_screens), ProcessEnded);
  ASSERT_EQ(m_ui->messages.size(), 1);
  EXPECT_TRUE(m_ui->messages[0].text.contains(QStringLiteral("deploy.ini")));
  EXPECT_TRUE(m_screens.calls.isEmpty());
  EXPECT_TRUE(backend().serverListRequests().isEmpty());
}

TEST_F(StartupTest, ThirdServerNeedsConfirmation)
{
  setCheck("chk_IP_List", QStringLiteral("1"));
  writeDeploy(QStringLiteral("127.0.0.3"));
  m_ui->answers.enqueue(Answer::No);
  EXPECT_THROW(Main(m_screens), ProcessEnded);
  ASSERT_EQ(m_ui->messages.size(), 1);
  EXPECT_EQ(m_ui->messages[0].text, QStringLiteral("3번 서버 맞어? "));
  EXPECT_EQ(m_ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(m_ui->messages[0].icon, Icon::Question);
  EXPECT_EQ(m_ui->messages[0].buttons, Buttons::YesNo);
  EXPECT_FALSE(Session.Connection) << "no connection before the answer";
  EXPECT_EQ(m_screens.calls, QStringList{"loading"});
}

TEST_F(StartupTest, UnreachableDatabaseGivesTheNoticesAndNoLogin)
{
  // Yes to the question: the server at 127.0.0.3 does not listen, so the open fails with
  // an error that is not a refusal of this computer.
  setCheck("chk_IP_List", QStringLiteral("1"));
  writeDeploy(QStringLiteral("127.0.0.3"));
  m_ui->answers.enqueue(Answer::Yes);
  Main(m_screens);
  const QStringList texts = m_ui->texts();
  ASSERT_EQ(texts.size(), 4) << str(texts.join(QLatin1Char('\n')));
  EXPECT_TRUE(texts[1].endsWith(QStringLiteral("(Sub)Main")));
  EXPECT_FALSE(texts[1].contains(backend().dbPassword()));
  // The connection object exists but never opened, so closing it fails as well.
  EXPECT_EQ(texts[2], QStringLiteral("연결종료시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."));
  EXPECT_TRUE(texts[3].contains(QStringLiteral("(g_Nothing_MainConn)")));
  EXPECT_FALSE(Session.HostRetryDone);
  EXPECT_FALSE(m_screens.calls.contains(QStringLiteral("login")));
}

TEST_F(StartupTest, RefusalTextsWithoutAnAddressSendNothing)
{
  buildSecrets();
  for (const QString& host : {QStringLiteral("pc-17.office"), QStringLiteral("fe80::1"),
                              QStringLiteral("10.1.2")}) {
    SCOPED_TRACE(str(host));
    const QString text = (QStringLiteral("[MySQL][ODBC 3.51 Driver]Host '") + host +
                          QStringLiteral("' is not allowed to connect to this MySQL server"))
                             .toUpper();
    EXPECT_FALSE(g_Send_Host_IP(text));
  }
  EXPECT_TRUE(backend().serverListRequests().isEmpty());
  EXPECT_TRUE(m_ui->messages.isEmpty());
}

/// A server that knows the database user only from another loopback address, so the
/// first connection from 127.0.0.1 is refused with 1130.
class RefusedHostTest : public StartupTest {
protected:
  static void SetUpTestSuite()
  {
    useOwnRuntimeFolder();
    try {
      s_refusing = Backend::startIsolated({.noLocalGrant = true, .schemaOnly = true});
    } catch (const test::BackendError& e) {
      s_error = QString::fromUtf8(e.what());
    }
  }
  static void TearDownTestSuite()
  {
    s_refusing.reset();
    s_runtime.reset();
  }

  void SetUp() override
  {
    StartupTest::SetUp();
    if (HasFatalFailure())
      return;
    backend().adminExec(QStringLiteral("DROP USER IF EXISTS '%1'@'127.0.0.1'").arg(backend().dbUser()));
    // The plain registration would admit 127.0.0.1 before the first connection.
    setCheck("chk_IP_List", QStringLiteral("1"));
  }

  bool available() const override { return s_refusing != nullptr; }
  const Backend& backend() const override { return *s_refusing; }

  static inline std::unique_ptr<test::IsolatedBackend> s_refusing;
};

TEST_F(RefusedHostTest, RefusedAddressIsRegisteredOnceAndStartUpRunsAgain)
{
  Main(m_screens);
  EXPECT_TRUE(m_ui->messages.isEmpty()) << str(m_ui->texts().join(QLatin1Char('\n')));
  EXPECT_TRUE(Session.HostRetryDone);
  EXPECT_EQ(m_screens.calls, (QStringList{"loading", "loading", "unload", "login", "unload"}));
  EXPECT_EQ(Session.ServerDate, serverToday());

  const auto requests = backend().serverListRequests();
  ASSERT_EQ(requests.size(), 1);
  EXPECT_EQ(requests[0].path, QStringLiteral("/test/GET_LIST_IP_HP.php"));
  EXPECT_EQ(requests[0].query, expectedQuery(QStringLiteral("VETRA_MEMBER_LIST=127.0.0.1")));
  EXPECT_EQ(requests[0].granted, QStringLiteral("127.0.0.1"));
}

TEST_F(RefusedHostTest, SecondRefusalGivesTheNoticeAndNoLogin)
{
  backend().setServerList(ServerListBehaviour{.answer = QStringLiteral("1"), .grant = false});
  Main(m_screens);
  const QStringList texts = m_ui->texts();
  ASSERT_EQ(texts.size(), 3) << str(texts.join(QLatin1Char('\n')));
  EXPECT_EQ(texts[0], QStringLiteral("[MySQL][ODBC 3.51 Driver]Host '127.0.0.1' is not allowed "
                                     "to connect to this MySQL server(Sub)Main"));
  EXPECT_EQ(m_ui->messages[0].title, QStringLiteral("오류안내(-2147467259)"));
  EXPECT_EQ(texts[1], QStringLiteral("연결종료시 오류가 발생하였습니다. 잠시 후 다시 시도하세요."));
  EXPECT_EQ(m_screens.calls, (QStringList{"loading", "loading", "unload"}));
  EXPECT_EQ(backend().serverListRequests().size(), 1) << "the refused address is registered once";
  backend().resetServerList();
}

} // namespace
