#include "transfer/FtpSession.h"

#include "common/CurlTls.h"
#include "common/RuntimeError.h"
#include "platform/CurlWait.h"
#include "platform/NetworkWait.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <cstring>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vcm {

namespace {

constexpr long kConnectTimeoutSeconds = 15;
constexpr long kResponseTimeoutSeconds = 60;

void initialiseCurl()
{
  static const bool done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!done)
    throw RuntimeError(-1, QStringLiteral("FTP 모듈을 초기화할 수 없습니다."));
}

/// Integer part of 100 / total × part, computed exactly.
int percentOf(qint64 part, qint64 total)
{
  return total > 0 ? static_cast<int>(part * 100 / total) : 0;
}

RuntimeError fileError(int number, const QFile& file)
{
  return RuntimeError(number, QDir::toNativeSeparators(file.fileName()) + QStringLiteral(": ") +
                                  file.errorString());
}

/// The upload's reader: hands curl whole 255-byte blocks of the local file (as many as
/// its buffer takes), updating the indicator and letting events run after each full
/// block, and then the tail.
struct UploadPacer {
  QFile& file;
  qint64 size;
  ProgressIndicator& progress;
  qint64 fullBlocksLeft = size / FtpSession::kBlockSize;
  qint64 sent = 0;
  bool tailDone = size % FtpSession::kBlockSize == 0;
  bool readFailed = false;
  int shownPercent = -1;
  QString percentText = {};
  bool* bodyEnded = nullptr;

  size_t fill(char* buffer, size_t room)
  {
    const qint64 blocks = qMin<qint64>(fullBlocksLeft, static_cast<qint64>(room) / FtpSession::kBlockSize);
    size_t filled = static_cast<size_t>(blocks * FtpSession::kBlockSize);
    // The blocks that fit are read at once; what follows each of them is as if it had
    // been read and written alone.
    if (blocks > 0 && !readExactly(buffer, static_cast<qint64>(filled)))
      return CURL_READFUNC_ABORT;
    for (qint64 b = 0; b < blocks; ++b) {
      --fullBlocksLeft;
      ui().pumpEvents();
      sent += FtpSession::kBlockSize;
      showPercent(percentOf(sent, size));
      ui().pumpEvents();
    }
    if (fullBlocksLeft == 0 && !tailDone) {
      const qint64 tail = size % FtpSession::kBlockSize;
      if (room - filled < static_cast<size_t>(tail))
        return filled;
      if (!readExactly(buffer + filled, tail))
        return CURL_READFUNC_ABORT;
      filled += static_cast<size_t>(tail);
      tailDone = true;
    }
    if (fullBlocksLeft == 0 && tailDone)
      *bodyEnded = true;
    return filled;
  }

  void showPercent(int percent)
  {
    if (percent != shownPercent) {
      shownPercent = percent;
      percentText = QString::number(percent) + QLatin1Char('%');
    }
    progress.show(percentText, percent);
  }

  bool readExactly(char* target, qint64 count)
  {
    if (file.read(target, count) == count)
      return true;
    readFailed = true;
    return false;
  }

  static size_t callback(char* buffer, size_t size, size_t count, void* self)
  {
    return static_cast<UploadPacer*>(self)->fill(buffer, size * count);
  }
};

/// The download's writer: cuts what arrives into 255-byte blocks and stores exactly the
/// expected number of bytes. The local file is created when the remote file has opened,
/// so a missing remote file leaves an existing local file alone.
struct DownloadPacer {
  QFile& file;
  qint64 size;
  ProgressIndicator& progress;
  qint64 stored = 0;
  qint64 received = 1;  // counts from one, as the indicator always has
  QByteArray pending = {};
  bool opened = false;
  bool writeFailed = false;

  bool openLocal()
  {
    if (opened)
      return true;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return writeFailed = true, false;
    opened = true;
    ui().pumpEvents();
    ui().pumpEvents();
    return true;
  }

  bool store(const char* data, qint64 count)
  {
    if (file.write(data, count) == count)
      return true;
    writeFailed = true;
    return false;
  }

  size_t take(const char* data, size_t count)
  {
    if (!openLocal())
      return 0;
    const qint64 accepted = qMin<qint64>(size - stored - pending.size(), count);
    pending.append(data, static_cast<qsizetype>(accepted));
    qsizetype used = 0;
    while (pending.size() - used >= FtpSession::kBlockSize) {
      if (!store(pending.constData() + used, FtpSession::kBlockSize))
        return 0;
      used += FtpSession::kBlockSize;
      stored += FtpSession::kBlockSize;
      ui().pumpEvents();
      received += FtpSession::kBlockSize;
      ui().pumpEvents();
      progress.setValue(percentOf(received, size));
      ui().pumpEvents();
    }
    pending.remove(0, used);
    // The tail is the rest of the expected size: nothing after it is awaited.
    if (!pending.isEmpty() && stored + pending.size() == size) {
      if (!store(pending.constData(), pending.size()))
        return 0;
      stored += pending.size();
      pending.clear();
    }
    // Taking less than curl offers ends the transfer: the expected bytes are all in.
    return accepted == static_cast<qint64>(count) ? count : 0;
  }

  bool complete() const { return stored == size; }

  static size_t callback(char* data, size_t size, size_t count, void* self)
  {
    return static_cast<DownloadPacer*>(self)->take(data, size * count);
  }
};

} // namespace

/// One request on the session's handle: resets the per-request options (the handle
/// keeps its connection) and marks the session busy while curl runs, so that a close
/// asked for from an event handler waits until the request has returned.
struct FtpRequest {
  FtpSession& session;
  CURL* curl;

  FtpRequest(FtpSession& s, const QByteArray& url) : session(s), curl(s.m_curl)
  {
    if (!curl)
      return;  // closed by an event handler during an earlier request of this routine
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_USERNAME, s.m_user.constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, s.m_password.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);  // TYPE I
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_NONE));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &FtpRequest::openSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &s);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &FtpRequest::closeSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, &s);
    s.m_bodyEnded = false;
    s.m_tlsUsable = applyCurlTls(curl, s.m_tlsMode, s.m_trust, CurlChannel::Ftp);
  }

  CURLcode perform()
  {
    if (!curl)
      return CURLE_FAILED_INIT;
    if (!session.m_tlsUsable)
      return CURLE_SSL_ENGINE_INITFAILED;  // the TLS settings cannot be honoured here
    session.m_busy = true;
    // Through the session's multi handle, whose cache keeps the control connection.
    const auto rc = static_cast<CURLcode>(performWaiting(session.m_multi, curl, &session.m_stalled));
    session.m_busy = false;
    return rc;
  }

  static curl_socket_t openSocket(void* self, curlsocktype, curl_sockaddr* address)
  {
    const curl_socket_t fd = ::socket(address->family, address->socktype, address->protocol);
    if (fd != CURL_SOCKET_BAD)
      static_cast<FtpSession*>(self)->m_sockets.append(static_cast<qintptr>(fd));
    return fd;
  }

  /// After a complete upload curl closes the data connection and then waits for the
  /// server's final reply on its own, surfacing only once a second. The wait happens here
  /// instead, with the windows painting; a server that stays silent for the stall limit
  /// gets its control connection shut and the request's time limit spent, so curl's own
  /// wait ends at once with the failure.
  /// (A download's final reply may already sit in curl's buffer when the data connection
  /// closes, so downloads are left to curl: their server closes first and answers at once.)
  static int closeSocket(void* self, curl_socket_t fd)
  {
    auto* session = static_cast<FtpSession*>(self);
    session->m_sockets.removeOne(static_cast<qintptr>(fd));
#ifdef Q_OS_WIN
    const int rc = ::closesocket(fd);
#else
    const int rc = ::close(fd);
#endif
    if (session->m_bodyEnded && session->m_sockets.size() == 1) {
      session->m_bodyEnded = false;
      const qintptr control = session->m_sockets.first();
      if (!awaitReadableDuringTransfer(control)) {
        // curl's own wait must not begin: a shut socket does not wake a select() under
        // every system, but a spent time limit ends that wait before it starts.
        NetworkWait::abortSocket(control);
        curl_easy_setopt(session->m_curl, CURLOPT_TIMEOUT_MS, 1L);
      }
    }
    return rc;
  }

  ~FtpRequest()
  {
    if (session.m_closeRequested)
      session.close();
  }
};

FtpSession::FtpSession() = default;

void FtpSession::setTls(TlsMode mode, const TransportSecurity& trust)
{
  m_tlsMode = mode;
  m_trust = trust;
}

FtpSession::~FtpSession()
{
  close();
}

bool FtpSession::open(const QString& server, quint16 port, const QString& user,
                      const QString& password)
{
  if (m_busy)
    return false;
  close();
  initialiseCurl();
  m_curl = curl_easy_init();
  m_multi = curl_multi_init();
  if (!m_curl || !m_multi) {
    close();
    throw RuntimeError(-1, QStringLiteral("FTP 연결을 만들 수 없습니다."));
  }
  m_server = server.toUtf8();
  m_port = port;
  m_user = user.toUtf8();
  m_password = password.toUtf8();
  m_directory = QStringLiteral("/");

  // Logging in without a transfer; the handle keeps the control connection.
  CURLcode rc;
  char* entry = nullptr;
  m_tlsRefused = m_protected = false;
  {
    FtpRequest request(*this, urlFor(QStringLiteral("/"), true));
    curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
    // curl tells whether the control connection runs over TLS only while it is attached
    // to the request: ask at each server reply of the login.
    curl_easy_setopt(m_curl, CURLOPT_HEADERFUNCTION, &FtpSession::onLoginReply);
    curl_easy_setopt(m_curl, CURLOPT_HEADERDATA, this);
    rc = request.perform();
    if (rc == CURLE_OK)
      curl_easy_getinfo(m_curl, CURLINFO_FTP_ENTRY_PATH, &entry);
  }
  if (rc == CURLE_OK && m_tlsMode == TlsMode::Required && !m_protected)
    rc = CURLE_USE_SSL_FAILED;  // never reached: curl refuses first; kept as the last word
  if (rc != CURLE_OK) {
    m_tlsRefused = m_tlsMode != TlsMode::Off && (isCurlTlsFailure(rc) || !m_tlsUsable);
    close();
    return false;
  }
  if (entry && *entry == '/')
    m_directory = QString::fromUtf8(entry);
  return true;
}

size_t FtpSession::onLoginReply(char*, size_t size, size_t count, void* self)
{
  auto* session = static_cast<FtpSession*>(self);
  session->m_protected = curlUsedTls(session->m_curl);
  return size * count;
}

bool FtpSession::setDirectory(const QString& path)
{
  if (!m_curl || m_busy || path.isEmpty())
    return false;
  const QString target = absolutePath(path);
  if (changeDirectory(target))
    return true;
  if (!makeDirectory(target))
    return false;
  ui().pumpEvents();
  return changeDirectory(target);
}

bool FtpSession::upload(const QString& localPath, const QString& remoteName,
                        ProgressIndicator& progress)
{
  if (remoteName.isEmpty() || localPath.isEmpty() || !m_curl || m_busy)
    return false;
  // The local file is opened first, so an unreadable file leaves nothing on the server.
  QFile file(localPath);
  if (!file.open(QIODevice::ReadOnly))
    throw fileError(53, file);
  UploadPacer pacer{file, file.size(), progress};
  pacer.bodyEnded = &m_bodyEnded;

  FtpRequest request(*this, urlFor(absolutePath(remoteName), false));
  m_bodyEnded = pacer.size == 0;
  curl_easy_setopt(m_curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(m_curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(pacer.size));
  curl_easy_setopt(m_curl, CURLOPT_READFUNCTION, &UploadPacer::callback);
  curl_easy_setopt(m_curl, CURLOPT_READDATA, &pacer);
  const CURLcode rc = request.perform();
  if (pacer.readFailed)
    throw fileError(62, file);
  return rc == CURLE_OK;
}

bool FtpSession::download(const QString& localPath, const QString& remoteName,
                          qint64 expectedSize, ProgressIndicator& progress, bool& remoteMissing)
{
  remoteMissing = false;
  if (remoteName.isEmpty() || localPath.isEmpty() || m_busy)
    return false;
  if (!m_curl) {
    remoteMissing = true;
    return false;
  }
  QFile file(localPath);
  DownloadPacer pacer{file, qMax<qint64>(0, expectedSize), progress};
  CURLcode rc;
  {
    FtpRequest request(*this, urlFor(absolutePath(remoteName), false));
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, &DownloadPacer::callback);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &pacer);
    rc = request.perform();
  }
  if (pacer.writeFailed)
    throw fileError(75, file);
  if (m_stalled) {
    file.close();
    return false;  // the server went silent: a failed transfer, not a missing file
  }
  const bool remoteOpened = pacer.opened || rc == CURLE_OK || (rc == CURLE_WRITE_ERROR && pacer.complete());
  if (!remoteOpened) {
    remoteMissing = true;
    return false;
  }
  // An empty expected size stores an empty file, as the transfer never wrote into it.
  if (!pacer.openLocal())
    throw fileError(75, file);
  file.close();
  if (!pacer.complete())
    return false;  // the remote file ended early or the connection broke
  progress.setValue(100);
  progress.setText(QStringLiteral("다운로드 완료"));
  ui().pumpEvents();
  return true;
}

void FtpSession::close() noexcept
{
  if (m_busy) {
    m_closeRequested = true;
    return;
  }
  m_closeRequested = false;
  if (m_curl) {
    curl_easy_cleanup(m_curl);
    m_curl = nullptr;
  }
  if (m_multi) {
    curl_multi_cleanup(m_multi);  // closes the cached control connection
    m_multi = nullptr;
  }
  m_password.fill('\0');
  m_password.clear();
  m_directory.clear();
}

QString FtpSession::absolutePath(const QString& path) const
{
  const QString p = QDir::fromNativeSeparators(path);
  if (p.startsWith(QLatin1Char('/')))
    return QDir::cleanPath(p);
  return QDir::cleanPath(m_directory + QLatin1Char('/') + p);
}

QByteArray FtpSession::urlFor(const QString& absolutePath, bool directory) const
{
  // "%2F" after the host makes curl send the path from the root, not from the login folder.
  QByteArray url = "ftp://" + m_server + ':' + QByteArray::number(m_port) + "/%2F";
  url += QUrl::toPercentEncoding(absolutePath.mid(1), "/");
  if (directory && !url.endsWith('/'))
    url += '/';
  return url;
}

bool FtpSession::changeDirectory(const QString& absolutePath)
{
  FtpRequest request(*this, urlFor(absolutePath, true));
  curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
  if (request.perform() != CURLE_OK)
    return false;
  m_directory = absolutePath;
  return true;
}

bool FtpSession::makeDirectory(const QString& absolutePath)
{
  FtpRequest request(*this, urlFor(QStringLiteral("/"), true));
  const QByteArray command = "MKD " + absolutePath.toUtf8();
  curl_slist* commands = curl_slist_append(nullptr, command.constData());
  curl_easy_setopt(m_curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(m_curl, CURLOPT_QUOTE, commands);
  const CURLcode rc = request.perform();
  curl_slist_free_all(commands);
  return rc == CURLE_OK;
}

FtpSession& ftpSession()
{
  static FtpSession session;
  return session;
}

} // namespace vcm
