#include "support/TestBackend.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

#include <mysql.h>

#include <cstdio>

#ifdef Q_OS_WIN
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>

namespace vcm::test {

namespace {

#ifndef Q_OS_WIN
QString scriptPath()
{
  return QStringLiteral(VCM_BACKEND_SCRIPT);
}

QString pythonPath()
{
  return QStringLiteral(VCM_SYSTEM_PYTHON);
}
#endif

#ifdef Q_OS_WIN
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
void closeSocket(Socket s) { ::closesocket(s); }
#else
using Socket = int;
constexpr Socket kNoSocket = -1;
void closeSocket(Socket s) { ::close(s); }
#endif

/// A TCP connection to a port on 127.0.0.1, closed with the object.
class LoopbackConnection {
public:
  explicit LoopbackConnection(int port)
  {
#ifdef Q_OS_WIN
    static const bool started = [] {
      WSADATA data;
      return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
      return;
#endif
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_socket == kNoSocket)
      return;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      closeSocket(m_socket);
      m_socket = kNoSocket;
    }
  }
  ~LoopbackConnection()
  {
    if (m_socket != kNoSocket)
      closeSocket(m_socket);
  }
  LoopbackConnection(const LoopbackConnection&) = delete;
  LoopbackConnection& operator=(const LoopbackConnection&) = delete;

  bool connected() const { return m_socket != kNoSocket; }

  bool sendAll(const QByteArray& data)
  {
    for (qsizetype done = 0; done < data.size();) {
      const auto n = ::send(m_socket, data.constData() + done, static_cast<int>(data.size() - done), 0);
      if (n <= 0)
        return false;
      done += n;
    }
    return true;
  }

  /// Everything up to the first newline (or the end of the stream).
  QByteArray readLine()
  {
    QByteArray line;
    char buffer[4096];
    for (;;) {
      const auto n = ::recv(m_socket, buffer, sizeof buffer, 0);
      if (n <= 0)
        return line;
      line.append(buffer, n);
      if (line.contains('\n'))
        return line.left(line.indexOf('\n'));
    }
  }

private:
  Socket m_socket = kNoSocket;
};

bool portAccepts(int port)
{
  return LoopbackConnection(port).connected();
}

#ifdef Q_OS_WIN
/// The Windows test programs run under Wine and see the host's files on drive Z:;
/// backend.env names them as the host does.
QString hostFile(const QString& path)
{
  return path.startsWith(QLatin1Char('/')) ? QStringLiteral("Z:") + path : path;
}

/// Keys of backend.env that name files the test programs open themselves.
bool isHostFileKey(const QString& key)
{
  static const QStringList keys{
      QStringLiteral("FTP_ROOT"),      QStringLiteral("HTTP_ROOT"),    QStringLiteral("DEPLOY_FILE"),
      QStringLiteral("INSTALLER_FILE"), QStringLiteral("SERVER_LIST_CONTROL"), QStringLiteral("SERVER_LIST_LOG"),
      QStringLiteral("HTTP_CONTROL"),  QStringLiteral("HTTP_LOG"),     QStringLiteral("FTP_CONTROL"),
      QStringLiteral("FTP_LOG"),       QStringLiteral("TLS_DIR"),      QStringLiteral("TLS_CA"),
      QStringLiteral("TLS_WRONG_CA")};
  return keys.contains(key);
}
#endif

void writeJson(const QString& path, const QJsonObject& object)
{
  // Replaced in one step: the peers read the file on every request.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw BackendError("cannot write " + path.toStdString());
  file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
  if (!file.commit())
    throw BackendError("cannot write " + path.toStdString());
}

/// The records of a peer's log, one JSON object a line; empty when there is no log yet.
QList<QJsonObject> readJsonLines(const QString& path)
{
  QList<QJsonObject> out;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return out;
  while (!file.atEnd()) {
    const QJsonObject o = QJsonDocument::fromJson(file.readLine()).object();
    if (!o.isEmpty())
      out << o;
  }
  return out;
}

/// One admin connection per call: tests run in parallel processes and the calls are few.
class AdminConnection {
public:
  AdminConnection(const Backend& backend, const QString& database)
  {
    m_mysql = mysql_init(nullptr);
    if (!m_mysql)
      throw BackendError("mysql_init failed");
    mysql_options(m_mysql, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    const QByteArray db = database.toUtf8();
    const char* dbName = db.isEmpty() ? nullptr : db.constData();
#ifdef Q_OS_WIN
    // No unix socket here: TCP from the one source address the admin account allows.
    const QByteArray bind = backend.value(QStringLiteral("ADMIN_BIND")).toUtf8();
    const QByteArray host = backend.dbHost().toUtf8();
    const QByteArray user = backend.value(QStringLiteral("ADMIN_TCP_USER")).toUtf8();
    const QByteArray password = backend.value(QStringLiteral("ADMIN_TCP_PASSWORD")).toUtf8();
    mysql_optionsv(m_mysql, MYSQL_OPT_BIND, bind.constData());
    if (!mysql_real_connect(m_mysql, host.constData(), user.constData(), password.constData(), dbName,
                            static_cast<unsigned>(backend.dbPort()), nullptr, CLIENT_MULTI_STATEMENTS))
      fail("admin connection");
#else
    const QByteArray sock = backend.adminSocket().toUtf8();
    if (!mysql_real_connect(m_mysql, nullptr, "root", "", dbName, 0, sock.constData(), CLIENT_MULTI_STATEMENTS))
      fail("admin connection");
#endif
  }
  ~AdminConnection() { mysql_close(m_mysql); }
  AdminConnection(const AdminConnection&) = delete;
  AdminConnection& operator=(const AdminConnection&) = delete;

  /// Runs `sql` (several statements allowed) and returns the rows of the last result set.
  QList<QStringList> run(const QString& sql)
  {
    const QByteArray text = sql.toUtf8();
    if (mysql_real_query(m_mysql, text.constData(), static_cast<unsigned long>(text.size())) != 0)
      fail(text.left(200).toStdString());
    QList<QStringList> rows;
    for (;;) {
      if (MYSQL_RES* res = mysql_store_result(m_mysql)) {
        rows.clear();
        const unsigned columns = mysql_num_fields(res);
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
          const unsigned long* lengths = mysql_fetch_lengths(res);
          QStringList values;
          for (unsigned c = 0; c < columns; ++c)
            values << (row[c] ? QString::fromUtf8(row[c], static_cast<qsizetype>(lengths[c])) : QString());
          rows << values;
        }
        mysql_free_result(res);
      } else if (mysql_field_count(m_mysql) != 0) {
        fail("reading a result");
      }
      const int next = mysql_next_result(m_mysql);
      if (next > 0)
        fail(text.left(200).toStdString());
      if (next < 0)
        break;
    }
    return rows;
  }

private:
  [[noreturn]] void fail(const std::string& what)
  {
    throw BackendError(what + ": " + std::to_string(mysql_errno(m_mysql)) + " " + mysql_error(m_mysql));
  }

  MYSQL* m_mysql = nullptr;
};

} // namespace

QString ServerListRequest::header(const QString& name) const
{
  for (auto it = headers.begin(); it != headers.end(); ++it)
    if (it.key().compare(name, Qt::CaseInsensitive) == 0)
      return it.value();
  return {};
}

Backend::Backend(const QString& envFile)
{
  load(envFile);
}

Backend::~Backend() = default;

void Backend::load(const QString& envFile)
{
  m_values.clear();
  m_available = false;
  if (envFile.isEmpty()) {
    m_reason = QStringLiteral("VCM_TEST_ENV is not set: run the test through ctest (backend fixture)");
    return;
  }
#ifdef Q_OS_WIN
  QFile file(hostFile(envFile));
#else
  QFile file(envFile);
#endif
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    m_reason = QStringLiteral("no test backend: %1 is missing").arg(envFile);
    return;
  }
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || eq <= 0)
      continue;
    const QString key = line.left(eq);
#ifdef Q_OS_WIN
    m_values.insert(key, isHostFileKey(key) ? hostFile(line.mid(eq + 1)) : line.mid(eq + 1));
#else
    m_values.insert(key, line.mid(eq + 1));
#endif
  }
  m_available = m_values.contains(QStringLiteral("DB_PORT"));
  if (!m_available)
    m_reason = QStringLiteral("no DB_PORT in %1").arg(envFile);
}

Backend& Backend::shared()
{
  static Backend backend(qEnvironmentVariable("VCM_TEST_ENV"));
  return backend;
}

void Backend::adminExec(const QString& sql, const QString& database) const
{
  adminQuery(sql, database);
}

QList<QStringList> Backend::adminQuery(const QString& sql, const QString& database) const
{
  if (!m_available)
    throw BackendError(m_reason.toStdString());
  AdminConnection conn(*this, database.isEmpty() ? dbName() : database);
  return conn.run(sql);
}

QString Backend::adminScalar(const QString& sql, const QString& database) const
{
  const QList<QStringList> rows = adminQuery(sql, database);
  return rows.isEmpty() || rows.first().isEmpty() ? QString() : rows.first().first();
}

void Backend::createDatabase(const QString& name, bool schemaOnly) const
{
  QStringList args{QStringLiteral("load"), value(QStringLiteral("BACKEND_DIR")), name};
  if (schemaOnly)
    args << QStringLiteral("--schema-only");
  runScript(args);
}

void Backend::setServerList(const ServerListBehaviour& behaviour) const
{
  QJsonObject control{{QStringLiteral("answer"), behaviour.answer},
                      {QStringLiteral("listen"), behaviour.listening}};
  if (behaviour.grant)
    control.insert(QStringLiteral("grant"), *behaviour.grant);
  if (behaviour.extraBytes > 0)
    control.insert(QStringLiteral("extra_bytes"), behaviour.extraBytes);
  if (behaviour.stall)
    control.insert(QStringLiteral("stall"), true);
  control.insert(QStringLiteral("hold"), behaviour.holdSeconds);
  writeJson(value(QStringLiteral("SERVER_LIST_CONTROL")), control);
  // The peer notices a change of `listen` within a few polls; wait until it shows.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (portAccepts(serverListPort()) != behaviour.listening) {
    if (std::chrono::steady_clock::now() > deadline)
      throw BackendError("server-list peer did not switch its listening state");
    QThread::msleep(20);
  }
}

QList<ServerListRequest> Backend::serverListRequests() const
{
  QList<ServerListRequest> out;
  for (const QJsonObject& o : readJsonLines(value(QStringLiteral("SERVER_LIST_LOG")))) {
    ServerListRequest r;
    r.method = o.value(QStringLiteral("method")).toString();
    r.path = o.value(QStringLiteral("path")).toString();
    r.query = o.value(QStringLiteral("query")).toString();
    r.body = o.value(QStringLiteral("body")).toString();
    r.client = o.value(QStringLiteral("client")).toString();
    r.answer = o.value(QStringLiteral("answer")).toString();
    r.granted = o.value(QStringLiteral("granted")).toString();
    r.refused = o.value(QStringLiteral("refused")).toString();
    const QJsonObject h = o.value(QStringLiteral("headers")).toObject();
    for (auto it = h.begin(); it != h.end(); ++it)
      r.headers.insert(it.key(), it.value().toString());
    out << r;
  }
  return out;
}

void Backend::clearServerListLog() const
{
  QFile::resize(value(QStringLiteral("SERVER_LIST_LOG")), 0);
}

void Backend::setHttp(const HttpBehaviour& behaviour) const
{
  QJsonObject control;
  if (behaviour.status)
    control.insert(QStringLiteral("status"), behaviour.status);
  if (behaviour.bytesPerSecond > 0)
    control.insert(QStringLiteral("rate"), behaviour.bytesPerSecond);
  if (behaviour.dropAfter >= 0)
    control.insert(QStringLiteral("drop_after"), behaviour.dropAfter);
  if (behaviour.noContentLength)
    control.insert(QStringLiteral("no_length"), true);
  if (!behaviour.protocol.isEmpty())
    control.insert(QStringLiteral("protocol"), behaviour.protocol);
  if (behaviour.stallAfter >= 0)
    control.insert(QStringLiteral("stall_after"), behaviour.stallAfter);
  if (behaviour.stallHeaders)
    control.insert(QStringLiteral("stall_headers"), true);
  control.insert(QStringLiteral("hold"), behaviour.holdSeconds);
  writeJson(value(QStringLiteral("HTTP_CONTROL")), control);
}

void Backend::setFtp(const FtpBehaviour& behaviour) const
{
  QJsonObject control;
  if (behaviour.dropAfter >= 0)
    control.insert(QStringLiteral("drop_after"), behaviour.dropAfter);
  if (behaviour.stallAfter >= 0)
    control.insert(QStringLiteral("stall_after"), behaviour.stallAfter);
  control.insert(QStringLiteral("hold"), behaviour.holdSeconds);
  writeJson(value(QStringLiteral("FTP_CONTROL")), control);
}

void Backend::setDbProxy(const DbProxyBehaviour& behaviour) const
{
  QJsonObject control{{QStringLiteral("hold"), behaviour.holdSeconds}};
  if (behaviour.cutAfterRows >= 0)
    control.insert(QStringLiteral("cut_after_rows"), behaviour.cutAfterRows);
  if (behaviour.stallAfterRows >= 0)
    control.insert(QStringLiteral("stall_after_rows"), behaviour.stallAfterRows);
  if (behaviour.stallGreeting)
    control.insert(QStringLiteral("stall_greeting"), true);
  if (behaviour.cutAtOk >= 0)
    control.insert(QStringLiteral("cut_at_ok"), behaviour.cutAtOk);
  writeJson(value(QStringLiteral("DB_PROXY_CONTROL")), control);
}

QList<FtpCommand> Backend::ftpCommands() const
{
  QList<FtpCommand> out;
  for (const QJsonObject& o : readJsonLines(value(QStringLiteral("FTP_LOG"))))
    out << FtpCommand{o.value(QStringLiteral("session")).toInt(), o.value(QStringLiteral("command")).toString(),
                      o.value(QStringLiteral("arg")).toString()};
  return out;
}

void Backend::clearFtpLog() const
{
  QFile::resize(value(QStringLiteral("FTP_LOG")), 0);
}

QJsonObject Backend::control(const QStringList& arguments)
{
  const Backend& shared = Backend::shared();
  if (!shared.available())
    throw BackendError(shared.unavailableReason().toStdString());
  LoopbackConnection port(shared.number(QStringLiteral("CONTROL_PORT")));
  const QJsonObject request{{QStringLiteral("args"), QJsonArray::fromStringList(arguments)}};
  if (!port.connected() || !port.sendAll(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n'))
    throw BackendError("the backend's control port does not answer");
  const QJsonObject reply = QJsonDocument::fromJson(port.readLine()).object();
  if (reply.isEmpty())
    throw BackendError("the backend's control port gave no answer");
  return reply;
}

#ifdef Q_OS_WIN
QString Backend::runScript(const QStringList& arguments)
{
  // Wine would hand a Linux python Windows paths: the shared backend's control port runs
  // the script on the host instead, with the host's paths that backend.env gives.
  const QJsonObject reply = control(arguments);
  if (reply.value(QStringLiteral("rc")).toInt(-1) != 0)
    throw BackendError(("backend.py " + arguments.join(QLatin1Char(' ')) + " failed: " +
                        reply.value(QStringLiteral("output")).toString())
                           .toStdString());
  return reply.value(QStringLiteral("dir")).toString();
}
#else
QString Backend::runScript(const QStringList& arguments)
{
  QProcess proc;
  proc.setProcessChannelMode(QProcess::MergedChannels);
  proc.start(pythonPath(), QStringList{scriptPath()} + arguments);
  if (!proc.waitForFinished(120000) || proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0) {
    const QString output = QString::fromUtf8(proc.readAll());
    proc.kill();
    throw BackendError(("backend.py " + arguments.join(QLatin1Char(' ')) + " failed: " + output).toStdString());
  }
  return {};
}
#endif

std::unique_ptr<IsolatedBackend> Backend::startIsolated(const IsolatedOptions& options)
{
#ifdef Q_OS_WIN
  const QString path;  // the control port makes the folder on the host and names it
#else
  QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vcm-isolated-XXXXXX"));
  if (!dir.isValid())
    throw BackendError("cannot create a temporary folder");
  dir.setAutoRemove(false);  // `stop` removes it
  const QString path = dir.path();
#endif
  QStringList args{QStringLiteral("start"), path};
  if (options.noLocalGrant)
    args << QStringLiteral("--no-local-grant");
  if (options.schemaOnly)
    args << QStringLiteral("--schema-only");
  if (options.tls)
    args << QStringLiteral("--tls");
  const QString made = runScript(args);
  return std::unique_ptr<IsolatedBackend>(new IsolatedBackend(path.isEmpty() ? made : path));
}

IsolatedBackend::IsolatedBackend(const QString& dir)
    : Backend(dir + QStringLiteral("/backend.env")), m_dir(dir)
{
}

IsolatedBackend::~IsolatedBackend()
{
  try {
    runScript({QStringLiteral("stop"), m_dir});
  } catch (const BackendError&) {
    // Nothing sensible to do in a destructor; the folder is in the temp area anyway.
  }
}

void IsolatedBackend::killDatabase() const
{
  runScript({QStringLiteral("kill-db"), m_dir});
}

void IsolatedBackend::restartDatabase() const
{
  runScript({QStringLiteral("start-db"), m_dir});
}

bool Backend::sharedOrExplain()
{
  if (shared().available())
    return true;
  std::fprintf(stderr, "No test backend: set VCM_TEST_ENV to a running backend's backend.env (%s)\n",
               shared().unavailableReason().toLocal8Bit().constData());
  return false;
}

QString Backend::connectionString(const QString& password, int port) const
{
  return QStringLiteral("driver=MySQL ODBC 3.51 Driver;database=%1;option=0;pwd=%2;port=%3;"
                        "server=%4;uid=%5;charset=euckr;")
      .arg(dbName(), password.isNull() ? dbPassword() : password,
           QString::number(port ? port : dbPort()), dbHost(), dbUser());
}

} // namespace vcm::test
