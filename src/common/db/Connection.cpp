#include "common/db/Connection.h"

#include "common/RuntimeError.h"
#include "common/db/ConnectionString.h"
#include "common/db/EucKr.h"
#include "platform/NetworkWait.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <future>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#endif
#include <mysql.h>

#if !defined(_WIN32)
// The connection's OpenSSL object, to read the certificate the server showed.
#define HAVE_TLS
#include <ma_pvio.h>
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#endif

namespace vcm {

namespace {

const QString kPrefix = QStringLiteral("[MySQL][ODBC 3.51 Driver]");
constexpr unsigned int kHostNotAllowed = 1130;
constexpr unsigned int kServerLost = 2013;

/// Why a call was given up.
enum class GaveUp { No, Silent, Late };

/// Drives a started non-blocking libmariadb call to its end. The socket is awaited as
/// the library asks, with the windows painting meanwhile; when the server stays silent
/// for the stall limit, or `deadline` passes, the socket is shut so the library ends the
/// call with a lost-connection error.
template <typename Continue>
GaveUp finishCall(MYSQL* m, int status, Continue next, const QDeadlineTimer& deadline)
{
  NetworkWait wait;
  GaveUp gaveUp = GaveUp::No;
  while (status != 0) {
    const qintptr fd = static_cast<qintptr>(mysql_get_socket(m));
    const int events = ((status & MYSQL_WAIT_READ) ? NetworkWait::Read : 0) |
                       ((status & (MYSQL_WAIT_WRITE | MYSQL_WAIT_EXCEPT)) ? NetworkWait::Write : 0);
    qint64 ms = deadline.isForever() ? -1 : qMax<qint64>(0, deadline.remainingTime());
    if (status & MYSQL_WAIT_TIMEOUT) {
      const qint64 library = mysql_get_timeout_value_ms(m);
      ms = ms < 0 ? library : qMin(ms, library);
    }
    int ready = gaveUp != GaveUp::No ? events : wait.waitSocket(fd, events, static_cast<int>(ms));
    if (ready == 0 && gaveUp == GaveUp::No && (wait.stalled() || deadline.hasExpired())) {
      // The shut socket reads as ended: the library fails the call at its next step.
      gaveUp = wait.stalled() ? GaveUp::Silent : GaveUp::Late;
      NetworkWait::abortSocket(fd);
      ready = events;
    }
    if (ready == 0) {
      if (gaveUp != GaveUp::No || (status & MYSQL_WAIT_TIMEOUT))
        status = next(MYSQL_WAIT_TIMEOUT);
      continue;
    }
    status = next(((ready & NetworkWait::Read) ? MYSQL_WAIT_READ : 0) |
                  ((ready & NetworkWait::Write) ? MYSQL_WAIT_WRITE : 0));
  }
  return gaveUp;
}

QByteArray peerCertificateSha256(MYSQL* handle);

} // namespace

const QString kTlsRequiredFailure =
    QStringLiteral("서버와 보안 연결(TLS)을 맺을 수 없습니다. 서버 인증서를 확인할 수 없거나 "
                   "서버가 보안 연결을 제공하지 않습니다. 관리자에게 문의하세요.");

QString describeServerError(unsigned int code, const QString& message, const QString& clientAddress)
{
  if (code == kHostNotAllowed) {
    static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
    const auto m = quoted.match(message);
    const QString address = m.hasMatch() ? m.captured(1) : clientAddress;
    return kPrefix + QStringLiteral("Host '") + address +
           QStringLiteral("' is not allowed to connect to this MySQL server");
  }
  return kPrefix + message;
}

QString linkStatusText(const DbLinkProtection& link)
{
  if (!link.encrypted)
    return QStringLiteral("암호화되지 않은 연결");
  // A TLS library that cannot name the cipher suite still reports the version.
  if (link.cipher.isEmpty())
    return QStringLiteral("보안 연결 %1").arg(link.tlsVersion);
  return QStringLiteral("보안 연결 %1 (%2)").arg(link.tlsVersion, link.cipher);
}

Connection::Connection() = default;

Connection::~Connection()
{
  if (m_mysql)
    mysql_close(m_mysql);
}

void Connection::open(const QString& connectionString, QDeadlineTimer deadline)
{
  const ConnectionSettings s = parseConnectionString(connectionString);
  m_secrets.clear();
  for (const QString& secret : {s.password, s.user, s.database, s.server})
    if (secret.size() >= 3)
      m_secrets << secret;
  if (m_mysql) {
    mysql_close(m_mysql);
    m_mysql = nullptr;
  }
  m_blocking = false;
  // TLS is asked for unless it is off. A server that offers none is reached in clear
  // text under Preferred: the connector goes on by itself, or, when it had to verify a
  // certificate, refuses and the second attempt goes without TLS.
  MYSQL* handle = connectOnce(s, m_tls.mode != TlsMode::Off, deadline);
  if (!handle)
    handle = connectOnce(s, false, deadline);
  m_mysql = handle;
  m_serverPacketLimit = 0;
  const bool encrypted = protection().encrypted;
  // Required without TLS: the connector goes on in clear text when it need not verify a
  // certificate (a pin), so this check is what refuses it. A pin is checked whenever
  // TLS is up.
  if ((m_tls.mode == TlsMode::Required && !encrypted) ||
      (encrypted && !m_tls.pinnedSha256.isEmpty() && peerCertificateSha256(m_mysql) != m_tls.pinnedSha256)) {
    mysql_close(m_mysql);
    m_mysql = nullptr;
    throw RuntimeError(errors::kProvider, kPrefix + kTlsRequiredFailure, 2026);
  }
}

namespace {

constexpr unsigned int kTlsConnectionError = 2026; // CR_SSL_CONNECTION_ERROR

/// The TLS options of one attempt. With a CA or pin named, or TLS required, the server's
/// certificate must verify (chain and name; a pin is checked after the login instead).
void applyTlsOptions(MYSQL* handle, const DbTlsOptions& tls, bool askTls)
{
  my_bool enforce = askTls ? 1 : 0;
  mysql_optionsv(handle, MYSQL_OPT_SSL_ENFORCE, &enforce);
  if (!askTls)
    return;
  const bool pinned = !tls.pinnedSha256.isEmpty();
  // A pin replaces the chain check: the pinned certificate is trusted for what it is.
  my_bool verify = !pinned && (tls.mode == TlsMode::Required || !tls.caFile.isEmpty()) ? 1 : 0;
  mysql_optionsv(handle, MYSQL_OPT_SSL_VERIFY_SERVER_CERT, &verify);
  if (!tls.caFile.isEmpty()) {
    const QByteArray ca = QFile::encodeName(tls.caFile);
    mysql_optionsv(handle, MYSQL_OPT_SSL_CA, ca.constData());
  }
}

/// SHA-256 of the certificate (DER) the server showed on this connection; empty when
/// it cannot be read. This connector's own fingerprint option knows SHA-1 only, so the
/// pin is checked here, right after the login and before any statement.
QByteArray peerCertificateSha256(MYSQL* handle)
{
#if defined(_WIN32)
  // Schannel keeps the certificate in its own structures; a pin cannot be checked there.
  // Windows installations name a CA file instead.
  Q_UNUSED(handle);
  return {};
#else
  MARIADB_PVIO* pvio = handle->net.pvio;
  if (!pvio || !pvio->ctls || !pvio->ctls->ssl)
    return {};
  X509* cert = SSL_get1_peer_certificate(static_cast<SSL*>(pvio->ctls->ssl));
  if (!cert)
    return {};
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  const bool ok = X509_digest(cert, EVP_sha256(), digest, &length) == 1;
  X509_free(cert);
  return ok ? QByteArray(reinterpret_cast<const char*>(digest), static_cast<int>(length)) : QByteArray();
#endif
}

/// A server that refuses this computer's address answers with an error instead of its
/// greeting, before TLS can start; the connector then wraps it as unauthenticated. The
/// refusal is taken for what it says: all it sets off is the registration request to
/// the service's list service, and the next connection is made with TLS again.
void unwrapErrorBeforeTls(unsigned int* code, QString* message)
{
  static const QRegularExpression wrapped(
      QStringLiteral("authenticity of the following error cannot be verified: (\\d+) - (.*)$"));
  const auto m = wrapped.match(*message);
  if (!m.hasMatch())
    return;
  *code = m.captured(1).toUInt();
  *message = m.captured(2);
}

/// The server offered no TLS at all (as opposed to a certificate that did not verify).
bool serverOffersNoTls(MYSQL* handle)
{
  return mysql_errno(handle) == kTlsConnectionError &&
         QByteArray(mysql_error(handle)).contains("does not support");
}

/// The text of a call given up because the server stayed silent or the deadline passed.
QString gaveUpMessage(GaveUp gaveUp)
{
  if (gaveUp == GaveUp::Silent)
    return QStringLiteral("데이터베이스 서버에 연결하지 못했습니다. ") + stallDescription();
  return QStringLiteral("데이터베이스 서버에 %1초 안에 연결하지 못했습니다. 잠시 후 다시 시도하세요.")
      .arg(Connection::kConnectLimitMs / 1000);
}

/// Runs a blocking library call on a thread of its own while this one keeps the windows
/// painting, with the busy pointer showing and member input dropped (NetworkWait). The
/// call's limits are the library's own timeouts; nothing else touches the handle
/// meanwhile, as the interface thread only paints.
template <typename Call>
auto whilePainting(Call call)
{
  NetworkWait wait;
  auto done = std::async(std::launch::async, [&call] {
    mysql_thread_init();
    auto result = call();
    mysql_thread_end();
    return result;
  });
  while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
    wait.idle();
  return done.get();
}

#if defined(_WIN32)
/// What a server's greeting offers.
enum class Offer { Tls, NoTls, Unknown };

/// Reads the server's greeting on a connection of its own, with the windows painting,
/// and closes it before anything is sent. The connector's Schannel build cannot run TLS
/// through its non-blocking calls (its reads then bypass the TLS layer and take the
/// ciphertext for packets), so a connection that will use TLS is made with blocking
/// calls; this look first keeps a silent server from freezing the windows and leaves a
/// server that offers no TLS on the non-blocking calls.
Offer greetingOffer(const ConnectionSettings& s, const QDeadlineTimer& deadline, GaveUp* gaveUp)
{
  *gaveUp = GaveUp::No;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const QByteArray host = s.server.toLatin1();
  const QByteArray port = QByteArray::number(s.port);
  if (getaddrinfo(host.constData(), port.constData(), &hints, &found) != 0 || !found)
    return Offer::Unknown;
  const SOCKET sock = socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  if (sock == INVALID_SOCKET) {
    freeaddrinfo(found);
    return Offer::Unknown;
  }
  u_long nonBlocking = 1;
  ioctlsocket(sock, FIONBIO, &nonBlocking);
  const bool started = ::connect(sock, found->ai_addr, static_cast<int>(found->ai_addrlen)) == 0 ||
                       WSAGetLastError() == WSAEWOULDBLOCK;
  freeaddrinfo(found);
  NetworkWait wait;
  const auto ready = [&](int events) {
    const qint64 ms = deadline.isForever() ? -1 : qMax<qint64>(0, deadline.remainingTime());
    if (wait.waitSocket(static_cast<qintptr>(sock), events, static_cast<int>(ms)) != 0)
      return true;
    *gaveUp = wait.stalled() ? GaveUp::Silent : GaveUp::Late;
    return false;
  };
  QByteArray packet;
  if (started && ready(NetworkWait::Write)) {
    // One packet: its header (3 bytes length, 1 byte sequence) says how long it is.
    const auto whole = [&packet] {
      return packet.size() >= 4 &&
             packet.size() >= 4 + (static_cast<unsigned char>(packet[0]) | (static_cast<unsigned char>(packet[1]) << 8) |
                                   (static_cast<unsigned char>(packet[2]) << 16));
    };
    char buffer[512];
    while (!whole() && packet.size() < 4096 && ready(NetworkWait::Read)) {
      const int n = recv(sock, buffer, sizeof buffer, 0);
      if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        continue;
      if (n <= 0)
        break;
      packet.append(buffer, n);
    }
  }
  closesocket(sock);
  // Protocol 10: version, NUL, thread id (4), scramble (8), filler (1), capabilities (2).
  if (packet.size() < 5 || static_cast<unsigned char>(packet[4]) != 10)
    return Offer::Unknown;
  const qsizetype end = packet.indexOf('\0', 5);
  const qsizetype caps = end + 1 + 4 + 8 + 1;
  if (end < 0 || packet.size() < caps + 2)
    return Offer::Unknown;
  const unsigned int capabilities =
      static_cast<unsigned char>(packet[caps]) | (static_cast<unsigned char>(packet[caps + 1]) << 8);
  return (capabilities & CLIENT_SSL) ? Offer::Tls : Offer::NoTls;
}

/// What each server ("host:port") offered: its greeting is read once a run, and again
/// after a connection failed in a way a changed offer would explain. Each look costs the
/// server an aborted connection and the member a round trip.
QHash<QString, Offer>& knownOffers()
{
  static QHash<QString, Offer> offers;
  return offers;
}
#endif

} // namespace

void Connection::raiseBlockingFailure(const QElapsedTimer& took)
{
  // A blocking call ends with "lost connection" when its read timeout (the stall limit)
  // passed: that is the same silence the non-blocking calls give up on.
  if (mysql_errno(m_mysql) == kServerLost && took.elapsed() >= stallLimitMs() - 1000)
    raiseLost();
  raiseServerError();
}

MYSQL* Connection::connectOnce(const ConnectionSettings& s, bool askTls, const QDeadlineTimer& deadline)
{
  MYSQL* handle = mysql_init(nullptr);
  if (!handle)
    throw RuntimeError(errors::kProvider, kPrefix + QStringLiteral("메모리가 부족합니다."));
  const QByteArray charset = (s.charset.isEmpty() ? QStringLiteral("euckr") : s.charset).toLatin1();
  mysql_optionsv(handle, MYSQL_SET_CHARSET_NAME, charset.constData());
  // Waits are bounded here, not by the library: the connect by `deadline`, every
  // exchange by the stall limit (no byte for 30 s), however long a result takes in all.
  const unsigned int connectTimeout = static_cast<unsigned int>(kConnectLimitMs / 1000);
  mysql_optionsv(handle, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
  const unsigned int protocol = MYSQL_PROTOCOL_TCP;
  mysql_optionsv(handle, MYSQL_OPT_PROTOCOL, &protocol);
  bool blocking = false;
#if defined(_WIN32)
  const QString server = s.server + QLatin1Char(':') + QString::number(s.port);
  if (askTls) {
    Offer offer = knownOffers().value(server, Offer::Unknown);
    if (offer == Offer::Unknown) {
      GaveUp gaveUp = GaveUp::No;
      offer = greetingOffer(s, deadline, &gaveUp);
      if (gaveUp != GaveUp::No) {
        mysql_close(handle);
        throw RuntimeError(errors::kProvider,
                           masked(describeServerError(kServerLost, gaveUpMessage(gaveUp), s.server)),
                           static_cast<int>(kServerLost));
      }
      if (offer != Offer::Unknown)
        knownOffers().insert(server, offer);
    }
    blocking = offer == Offer::Tls;
  }
#endif
  if (blocking) {
    // The deadline and the stall limit become the library's own timeouts (whole seconds).
    const qint64 left = deadline.isForever() ? kConnectLimitMs : qMax<qint64>(1000, deadline.remainingTime());
    const unsigned int connectSeconds = static_cast<unsigned int>((left + 999) / 1000);
    const unsigned int stallSeconds = static_cast<unsigned int>((stallLimitMs() + 999) / 1000);
    mysql_optionsv(handle, MYSQL_OPT_CONNECT_TIMEOUT, &connectSeconds);
    mysql_optionsv(handle, MYSQL_OPT_READ_TIMEOUT, &stallSeconds);
    mysql_optionsv(handle, MYSQL_OPT_WRITE_TIMEOUT, &stallSeconds);
  } else {
    mysql_optionsv(handle, MYSQL_OPT_NONBLOCK, 0);
  }
  applyTlsOptions(handle, m_tls, askTls);

  const QByteArray host = s.server.toLatin1();
  const QByteArray user = s.user.toUtf8();
  const QByteArray password = s.password.toUtf8();
  const QByteArray database = s.database.toUtf8();
  // Found rows: an UPDATE reports the rows it matched, also those that already held the
  // new values (another computer may have written them first), so a count of 0 really
  // means that there are no such rows.
  MYSQL* connected = nullptr;
  // Multi-statement mode lets executeBatch send many statements in one exchange. It is
  // asked for in the handshake, which costs nothing, rather than switched on later by a
  // statement of its own. Every typed value is escaped (g_SqlStr), so a text cannot
  // close its literal and append a statement.
  const unsigned long flags = CLIENT_FOUND_ROWS | CLIENT_MULTI_STATEMENTS;
  GaveUp gaveUp = GaveUp::No;
  if (blocking) {
    connected = whilePainting([&] {
      return mysql_real_connect(handle, host.constData(), user.constData(), password.constData(),
                                database.isEmpty() ? nullptr : database.constData(),
                                static_cast<unsigned int>(s.port), nullptr, flags);
    });
  } else {
    const int status = mysql_real_connect_start(
        &connected, handle, host.constData(), user.constData(), password.constData(),
        database.isEmpty() ? nullptr : database.constData(), static_cast<unsigned int>(s.port),
        nullptr, flags);
    gaveUp = finishCall(
        handle, status, [&](int ready) { return mysql_real_connect_cont(&connected, handle, ready); },
        deadline);
  }
  if (connected) {
    m_blocking = blocking;
    return handle;
  }
  if (gaveUp == GaveUp::No && askTls && m_tls.mode == TlsMode::Preferred && serverOffersNoTls(handle)) {
#if defined(_WIN32)
    knownOffers().insert(server, Offer::NoTls);
#endif
    mysql_close(handle);
    return nullptr;
  }
  unsigned int code = gaveUp != GaveUp::No ? kServerLost : mysql_errno(handle);
#if defined(_WIN32)
  // A server that took up TLS since its greeting was read fails a non-blocking attempt
  // with a lost connection, one that dropped it fails a blocking one: read it again.
  if (askTls && (code == kServerLost || code == kTlsConnectionError))
    knownOffers().remove(server);
#endif
  QString message = QString::fromUtf8(mysql_error(handle));
  if (gaveUp != GaveUp::No)
    message = gaveUpMessage(gaveUp);
  mysql_close(handle);
  unwrapErrorBeforeTls(&code, &message);
  if (code == kTlsConnectionError && askTls)
    throw RuntimeError(errors::kProvider,
                       masked(kPrefix + kTlsRequiredFailure + QStringLiteral(" (") + message +
                              QLatin1Char(')')),
                       static_cast<int>(code));
  // The refused address of error 1130 is this computer's, not a secret: keep it.
  const QString description = describeServerError(code, message, s.server);
  throw RuntimeError(errors::kProvider, code == 1130 ? description : masked(description),
                     static_cast<int>(code));
}

DbLinkProtection Connection::protection() const
{
  DbLinkProtection p;
  if (!m_mysql)
    return p;
  const char* cipher = mysql_get_ssl_cipher(m_mysql);
  if (!cipher)
    return p;
  p.encrypted = true;
  p.cipher = QString::fromLatin1(cipher);
  const char* version = nullptr;
  if (mariadb_get_infov(m_mysql, MARIADB_CONNECTION_TLS_VERSION, &version) == 0 && version)
    p.tlsVersion = QString::fromLatin1(version);
  return p;
}

void Connection::close()
{
  if (!m_mysql)
    throw RuntimeError(errors::kObjectClosed,
                       QStringLiteral("개체가 닫혀 있으면 작업이 허용되지 않습니다."));
  mysql_close(m_mysql);
  m_mysql = nullptr;
}

void Connection::requireOpen() const
{
  if (!m_mysql)
    throw RuntimeError(errors::kObjectClosed,
                       QStringLiteral("개체가 닫혀 있으면 작업이 허용되지 않습니다."));
}

QByteArray Connection::encodeStatement(const QString& sql) const
{
  const auto bytes = euckr::encode(sql);
  if (!bytes) {
    const QString bad = euckr::firstUnencodable(sql);
    throw RuntimeError(errors::kUnencodable,
                       QStringLiteral("저장할 수 없는 문자(") + bad +
                           QStringLiteral(")가 들어 있습니다. 이모지나 일부 특수문자·한자는 "
                                          "사용할 수 없으니 지우고 다시 입력하세요."));
  }
  return *bytes;
}

void Connection::raiseLost()
{
  // The server went silent: the connection cannot carry another statement.
  mysql_close(m_mysql);
  m_mysql = nullptr;
  throw RuntimeError(errors::kProvider, kPrefix + stallDescription(), static_cast<int>(kServerLost));
}

void Connection::raiseServerError(const QString& server)
{
  const unsigned int code = mysql_errno(m_mysql);
  const QString message = euckr::decode(mysql_error(m_mysql), qstrlen(mysql_error(m_mysql)));
  throw RuntimeError(errors::kProvider, masked(describeServerError(code, message, server)),
                     static_cast<int>(code));
}

void Connection::setHiddenTexts(const QStringList& texts)
{
  m_hidden.clear();
  for (const QString& text : texts)
    if (text.size() >= 3)
      m_hidden << text;
}

QString Connection::masked(const QString& text) const
{
  // Longest first, so a secret that contains another one is masked whole.
  QStringList all = m_hidden + m_secrets;
  std::sort(all.begin(), all.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
  QString out = text;
  for (const QString& secret : all)
    out.replace(secret, QStringLiteral("***"));
  return out;
}

void Connection::runQuery(const QByteArray& bytes)
{
  sendBytes(bytes);
  readQueryResult();
}

void Connection::sendBytes(const QByteArray& bytes)
{
  if (m_blocking) {
    QElapsedTimer took;
    took.start();
    if (whilePainting([&] { return mysql_send_query(m_mysql, bytes.constData(), static_cast<unsigned long>(bytes.size())); }) != 0)
      raiseBlockingFailure(took);
    return;
  }
  int failed = 0;
  const int status = mysql_send_query_start(&failed, m_mysql, bytes.constData(),
                                            static_cast<unsigned long>(bytes.size()));
  if (finishCall(m_mysql, status, [&](int ready) { return mysql_send_query_cont(&failed, m_mysql, ready); },
                 QDeadlineTimer(QDeadlineTimer::Forever)) != GaveUp::No)
    raiseLost();
  if (failed != 0)
    raiseServerError();
}

void Connection::readQueryResult()
{
  if (m_blocking) {
    QElapsedTimer took;
    took.start();
    if (whilePainting([this] { return mysql_read_query_result(m_mysql); }) != 0)
      raiseBlockingFailure(took);
    return;
  }
  my_bool failed = 0;
  const int status = mysql_read_query_result_start(&failed, m_mysql);
  if (finishCall(m_mysql, status, [&](int ready) { return mysql_read_query_result_cont(&failed, m_mysql, ready); },
                 QDeadlineTimer(QDeadlineTimer::Forever)) != GaveUp::No)
    raiseLost();
  if (failed != 0)
    raiseServerError();
}

MYSQL_RES* Connection::storeResult()
{
  MYSQL_RES* result = nullptr;
  if (m_blocking) {
    QElapsedTimer took;
    took.start();
    result = whilePainting([this] { return mysql_store_result(m_mysql); });
    if (!result && (mysql_errno(m_mysql) != 0 || mysql_field_count(m_mysql) != 0))
      raiseBlockingFailure(took);
    return result;
  }
  const int status = mysql_store_result_start(&result, m_mysql);
  if (finishCall(m_mysql, status, [&](int ready) { return mysql_store_result_cont(&result, m_mysql, ready); },
                 QDeadlineTimer(QDeadlineTimer::Forever)) != GaveUp::No) {
    if (result)
      mysql_free_result(result);
    raiseLost();
  }
  // A result cut short by a lost connection comes back empty-handed, and the lost
  // connection clears the field count too: only the error number tells it from a
  // statement without rows.
  if (!result && (mysql_errno(m_mysql) != 0 || mysql_field_count(m_mysql) != 0))
    raiseServerError();
  return result;
}

std::unique_ptr<RecordSet> Connection::toRecordSet(MYSQL_RES* result)
{
  if (!result) {
    // A statement without rows: an open, empty set, as the old record sets gave.
    return std::make_unique<RecordSet>(std::vector<RecordSet::Column>{});
  }
  const unsigned int width = mysql_num_fields(result);
  MYSQL_FIELD* fields = mysql_fetch_fields(result);
  std::vector<RecordSet::Column> columns;
  columns.reserve(width);
  for (unsigned int i = 0; i < width; ++i) {
    const bool integer = fields[i].type == MYSQL_TYPE_LONG || fields[i].type == MYSQL_TYPE_SHORT ||
                         fields[i].type == MYSQL_TYPE_TINY || fields[i].type == MYSQL_TYPE_INT24;
    columns.push_back({euckr::decode(fields[i].name, fields[i].name_length),
                       integer ? RecordSet::ColumnType::Integer : RecordSet::ColumnType::Text});
  }
  auto rs = std::make_unique<RecordSet>(std::move(columns));
  const my_ulonglong rowCount = mysql_num_rows(result);
  std::vector<RecordSet::RawCell> cells;
  cells.reserve(static_cast<size_t>(rowCount) * width);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    for (unsigned int i = 0; i < width; ++i)
      cells.push_back({row[i], static_cast<quint32>(lengths[i])});
  }
  // The result keeps the bytes the cells point into; it is freed with the record set.
  std::shared_ptr<void> owner(result, [](void* r) { mysql_free_result(static_cast<MYSQL_RES*>(r)); });
  rs->adoptRawRows(std::move(owner), std::move(cells), static_cast<int>(rowCount));
  rs->moveFirst();
  return rs;
}

std::unique_ptr<RecordSet> Connection::openRecordSet(const QString& sql)
{
  requireOpen();
  runQuery(encodeStatement(sql));
  return toRecordSet(storeResult());
}

void Connection::sendQuery(const QString& sql)
{
  requireOpen();
  sendBytes(encodeStatement(sql));
}

std::unique_ptr<RecordSet> Connection::receiveRecordSet()
{
  requireOpen();
  readQueryResult();
  return toRecordSet(storeResult());
}

qint64 Connection::execute(const QString& sql)
{
  requireOpen();
  runQuery(encodeStatement(sql));
  // Drain any result so the connection stays usable.
  if (MYSQL_RES* result = storeResult())
    mysql_free_result(result);
  return static_cast<qint64>(mysql_affected_rows(m_mysql));
}

bool Connection::nextResult()
{
  if (!mysql_more_results(m_mysql))
    return false;
  int status = 0;
  if (m_blocking) {
    QElapsedTimer took;
    took.start();
    status = whilePainting([this] { return mysql_next_result(m_mysql); });
    if (status > 0)
      raiseBlockingFailure(took);
    return status == 0;
  }
  const int started = mysql_next_result_start(&status, m_mysql);
  if (finishCall(m_mysql, started, [&](int ready) { return mysql_next_result_cont(&status, m_mysql, ready); },
                 QDeadlineTimer(QDeadlineTimer::Forever)) != GaveUp::No)
    raiseLost();
  if (status > 0)
    raiseServerError();
  return status == 0;
}

qint64 Connection::packetLimit() const
{
  // Until the server has told its limit, a packet stays within the smallest limit a
  // server can be set to. Below the limit some room is kept for the packet's header.
  constexpr qint64 kSmallestLimit = 1024;
  return m_serverPacketLimit > 0 ? qMax(kSmallestLimit, m_serverPacketLimit - 1024) : kSmallestLimit;
}

void Connection::executeBatch(const QStringList& statements,
                              const std::function<void(int, StatementResult&)>& each)
{
  requireOpen();
  QList<QByteArray> encoded;
  encoded.reserve(statements.size());
  for (const QString& sql : statements)
    encoded << encodeStatement(sql);

  static const QByteArray kAskLimit = QByteArrayLiteral("SELECT @@max_allowed_packet");
  int next = 0;
  while (next < encoded.size()) {
    // The first exchange of a connection also asks for the server's packet limit, so
    // the later ones can be as large as the server takes.
    const bool askLimit = m_serverPacketLimit <= 0;
    QByteArray packet = askLimit ? kAskLimit : QByteArray();
    const qint64 limit = packetLimit();
    const int first = next;
    while (next < encoded.size()) {
      const qint64 grown = packet.size() + (packet.isEmpty() ? 0 : 1) + encoded[next].size();
      if (next > first && grown > limit)
        break;
      if (!packet.isEmpty())
        packet += ';';
      packet += encoded[next++];
    }

    runQuery(packet);
    if (askLimit) {
      std::unique_ptr<RecordSet> rs = toRecordSet(storeResult());
      m_serverPacketLimit = rs->eof() ? 0 : rs->value(0).toLongLong();
      if (!nextResult())
        throw RuntimeError(errors::kProvider, kPrefix + QStringLiteral("서버가 결과를 모두 보내지 않았습니다."));
    }
    for (int i = first; i < next; ++i) {
      if (i > first && !nextResult())
        throw RuntimeError(errors::kProvider, kPrefix + QStringLiteral("서버가 결과를 모두 보내지 않았습니다."));
      StatementResult result;
      result.rows = toRecordSet(storeResult());
      result.affected = static_cast<qint64>(mysql_affected_rows(m_mysql));
      each(i, result);
    }
  }
}

} // namespace vcm
