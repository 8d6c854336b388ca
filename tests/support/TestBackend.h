#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <stdexcept>

namespace vcm::test {

/// A failure of an administrative step (admin SQL, starting a backend).
class BackendError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// How the server-list peer answers from now on.
struct ServerListBehaviour {
  QString answer = QStringLiteral("1");  ///< response body, sent as is
  std::optional<bool> grant;             ///< grant the address; default: when answer reads as 1
  bool listening = true;                 ///< false: the port refuses connections
  qint64 extraBytes = 0;                 ///< blanks sent after the answer
  bool stall = false;                    ///< answer nothing for holdSeconds, then close
  double holdSeconds = 5;
};

/// One request the server-list peer received, as it arrived.
struct ServerListRequest {
  QString method;
  QString path;     ///< e.g. /test/GET_LIST_IP.php
  QString query;    ///< raw query string, not decoded
  QString body;
  QString client;   ///< source address
  QString answer;   ///< body it sent back
  QString granted;  ///< address granted on the database, empty when none
  QString refused;  ///< why it answered 0 on its own (wrong id, bad address, ...)
  QMap<QString, QString> headers;

  QString header(const QString& name) const;
};

/// How the HTTP file server behaves from now on.
struct HttpBehaviour {
  int status = 0;             ///< answer every GET with this status (0: serve files)
  qint64 bytesPerSecond = 0;  ///< throttle the body (0: full speed)
  qint64 dropAfter = -1;      ///< close the connection after this many body bytes (-1: never)
  bool noContentLength = false;  ///< files without Content-Length, ended by closing
  QString protocol{};            ///< protocol of the status line ("HTTP/1.0"; empty: HTTP/1.1)
  qint64 stallAfter = -1;        ///< after this many body bytes nothing for holdSeconds, then close
  bool stallHeaders = false;     ///< send nothing for holdSeconds, then close
  double holdSeconds = 5;
};

/// How the FTP server behaves from now on.
struct FtpBehaviour {
  qint64 dropAfter = -1;  ///< drop a login's connections once it moved this many file bytes (-1: never)
  qint64 stallAfter = -1; ///< after this many file bytes move nothing for holdSeconds, then drop
  double holdSeconds = 5;
};

/// How the MySQL-protocol proxy in front of the database behaves from now on (its
/// port: dbProxyPort()).
struct DbProxyBehaviour {
  int cutAfterRows = -1;    ///< close the connection instead of passing row N+1 of a result
  int stallAfterRows = -1;  ///< pass nothing after N rows of a result for holdSeconds, then close
  bool stallGreeting = false;  ///< never pass the server's greeting; close after holdSeconds
  int cutAtOk = -1;  ///< close the connection instead of passing the session's Nth OK
  double holdSeconds = 5;
};

/// One command the FTP server received.
struct FtpCommand {
  int session = 0;  ///< one number per control connection
  QString command;  ///< upper case, e.g. STOR; DROP where the fault switch cut the connection
  QString arg;      ///< PASS arguments are masked
};

/// Options of an extra backend started for one test.
struct IsolatedOptions {
  bool noLocalGrant = true;  ///< the database user exists only for 127.0.0.2
  bool schemaOnly = false;   ///< tables without demo rows
  /// Own CA and certificates, TLS on MariaDB, FTPS and HTTPS peers and a database port
  /// that offers no TLS (keys TLS_*, FTPS_PORT, HTTPS_PORT, DB_PLAIN_PORT, ...).
  bool tls = false;
};

class IsolatedBackend;

/// The test servers started by the `vcm_backend` CTest fixture (tests/peers/backend.py),
/// described by the KEY=VALUE file named in VCM_TEST_ENV.
///
///   auto& be = vcm::test::Backend::shared();
///   if (!be.available()) GTEST_SKIP() << be.unavailableReason();
///   be.adminExec("DELETE FROM DEAL_LIST WHERE COM_CD = 'T001'");
///
/// Keys of the file (see backend.env): DB_HOST, DB_PORT, DB_USER, DB_PASSWORD, DB_NAME,
/// ADMIN_SOCKET, CRYPT_KEY, MAINDB, MEMBER_DB, SERVER_LIST_PORT, FTP_PORT, FTP_USER,
/// FTP_PASSWORD, FTP_ROOT, HTTP_PORT, HTTP_ROOT, INSTALLER_FILE, INSTALLER_SIZE,
/// DEPLOY_FILE, PROGRAM_VERSION, COM_CD, COM_NM, MEMBER_ID, MEMBER_PW, LEDGER_MONTH,
/// CLOSED_MONTH, SERVER_DATE, ...
class Backend {
public:
  /// Reads `envFile`; available() is false when it is missing.
  explicit Backend(const QString& envFile);
  virtual ~Backend();

  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;

  /// The fixture's backend (VCM_TEST_ENV).
  static Backend& shared();
  /// For programs run by hand (benchmarks): says on stderr how to start a backend when
  /// the shared one is missing; true when it is available.
  static bool sharedOrExplain();

  bool available() const { return m_available; }
  QString unavailableReason() const { return m_reason; }

  /// A value of the env file; empty when absent.
  QString value(const QString& key) const { return m_values.value(key); }
  int number(const QString& key) const { return m_values.value(key).toInt(); }

  QString dbHost() const { return value(QStringLiteral("DB_HOST")); }
  int dbPort() const { return number(QStringLiteral("DB_PORT")); }
  QString dbUser() const { return value(QStringLiteral("DB_USER")); }
  QString dbPassword() const { return value(QStringLiteral("DB_PASSWORD")); }
  QString dbName() const { return value(QStringLiteral("DB_NAME")); }
  QString adminSocket() const { return value(QStringLiteral("ADMIN_SOCKET")); }
  QString cryptKey() const { return value(QStringLiteral("CRYPT_KEY")); }
  int serverListPort() const { return number(QStringLiteral("SERVER_LIST_PORT")); }
  int ftpPort() const { return number(QStringLiteral("FTP_PORT")); }
  QString ftpUser() const { return value(QStringLiteral("FTP_USER")); }
  QString ftpPassword() const { return value(QStringLiteral("FTP_PASSWORD")); }
  QString ftpRoot() const { return value(QStringLiteral("FTP_ROOT")); }
  int httpPort() const { return number(QStringLiteral("HTTP_PORT")); }
  QString httpRoot() const { return value(QStringLiteral("HTTP_ROOT")); }
  QString deployFile() const { return value(QStringLiteral("DEPLOY_FILE")); }
  QString installerFile() const { return value(QStringLiteral("INSTALLER_FILE")); }

  /// The client's connection string for this backend; another password or port may be
  /// given to provoke a failure.
  QString connectionString(const QString& password = {}, int port = 0) const;

  /// Runs one or more statements as root through the unix socket (utf8mb4 client
  /// character set; the server converts to the euckr columns). `database` empty means
  /// the service database. Throws BackendError.
  void adminExec(const QString& sql, const QString& database = {}) const;

  /// Rows of the last result set of `sql`; a NULL is a null QString.
  QList<QStringList> adminQuery(const QString& sql, const QString& database = {}) const;

  /// First column of the first row, null QString when there is no row.
  QString adminScalar(const QString& sql, const QString& database = {}) const;

  /// Creates another database with the service's tables (and the demo rows unless
  /// `schemaOnly`), granted to the database user.
  void createDatabase(const QString& name, bool schemaOnly = false) const;

  /// Changes how the server-list peer answers; returns once the change is in effect.
  void setServerList(const ServerListBehaviour& behaviour) const;
  void resetServerList() const { setServerList({}); }
  QList<ServerListRequest> serverListRequests() const;
  void clearServerListLog() const;

  void setHttp(const HttpBehaviour& behaviour) const;
  void resetHttp() const { setHttp({}); }

  void setDbProxy(const DbProxyBehaviour& behaviour) const;
  void resetDbProxy() const { setDbProxy({}); }
  int dbProxyPort() const { return number(QStringLiteral("DB_PROXY_PORT")); }

  void setFtp(const FtpBehaviour& behaviour) const;
  void resetFtp() const { setFtp({}); }
  QList<FtpCommand> ftpCommands() const;
  void clearFtpLog() const;

  /// Sends one command to the shared backend's control port (see backend.py) and returns
  /// its answer ({rc, output, stdout, dir}). Throws BackendError when the port is silent.
  static QJsonObject control(const QStringList& arguments);

  /// Starts a separate backend (own MariaDB and peers) in a temporary folder; it is
  /// stopped and removed when the returned object is destroyed. Takes a second or two.
  static std::unique_ptr<IsolatedBackend> startIsolated(const IsolatedOptions& options = {});

protected:
  void load(const QString& envFile);
  /// Runs a command of backend.py on the host; returns the folder a `start` with an empty
  /// folder made (empty otherwise).
  static QString runScript(const QStringList& arguments);

private:
  QMap<QString, QString> m_values;
  bool m_available = false;
  QString m_reason;
};

/// A backend of its own for one test (for example one that refuses 127.0.0.1).
class IsolatedBackend : public Backend {
public:
  ~IsolatedBackend() override;
  QString directory() const { return m_dir; }

  /// Kills its MariaDB at once (SIGKILL), as a crash would; returns when it is gone.
  void killDatabase() const;
  /// Starts the killed MariaDB again on the same data and port.
  void restartDatabase() const;

private:
  friend class Backend;
  IsolatedBackend(const QString& dir);
  QString m_dir;
};

} // namespace vcm::test
