#include "update/HttpFetch.h"

#include "common/CurlTls.h"
#include "common/RuntimeError.h"
#include "platform/NetworkWait.h"

#include <QList>

#include <curl/curl.h>
#include <cstring>
#include <mutex>

namespace vcm {

namespace {

/// Number of the run-time error a failed transfer raises.
constexpr int kTransferFailed = 35761;

void initialiseCurl()
{
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool blankLine(const QByteArray& line) { return line == "\r\n" || line == "\n"; }

} // namespace

HttpFetch::HttpFetch()
{
  initialiseCurl();
  m_multi = curl_multi_init();
}

HttpFetch::~HttpFetch()
{
  cancel();
  curl_multi_cleanup(m_multi);
}

void HttpFetch::start(const QString& url, const QByteArray& requestHeader)
{
  cancel();
  m_lastResult = CURLE_OK;
  m_url = url.toUtf8();
  m_easy = curl_easy_init();
  if (!m_easy)
    throw RuntimeError(kTransferFailed, QStringLiteral("HTTP 요청 개체를 만들 수 없습니다."));
  CURL* c = m_easy;
  curl_easy_setopt(c, CURLOPT_URL, m_url.constData());
  curl_easy_setopt(c, CURLOPT_PROXY, "");
  curl_easy_setopt(c, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &HttpFetch::onHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &HttpFetch::onBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
  m_quiet.start();
  m_tlsUnusable = m_url.startsWith("https:") && !applyCurlTls(c, m_tlsMode, m_trust, CurlChannel::Http);
  if (m_tlsUnusable) {
    // Settings this curl cannot honour: nothing is sent; the exchange ends as a TLS
    // failure, which no plain-HTTP attempt may follow.
    curl_easy_setopt(c, CURLOPT_URL, "https://");
  }
  if (!requestHeader.isEmpty()) {
    m_requestHeaders = curl_slist_append(nullptr, requestHeader.constData());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, m_requestHeaders);
  }
  curl_multi_add_handle(m_multi, c);
}

void HttpFetch::setTls(TlsMode mode, const TransportSecurity& trust)
{
  m_tlsMode = mode;
  m_trust = trust;
}

void HttpFetch::cancel()
{
  if (m_easy) {
    curl_multi_remove_handle(m_multi, m_easy);
    curl_easy_cleanup(m_easy);
    m_easy = nullptr;
  }
  if (m_requestHeaders) {
    curl_slist_free_all(m_requestHeaders);
    m_requestHeaders = nullptr;
  }
  m_headerText.clear();
  m_headersDone = m_done = m_paused = false;
  m_result = CURLE_OK;
  m_errorText.clear();
  m_pending.clear();
  m_readPos = 0;
  m_limit = 1;
}

size_t HttpFetch::onHeader(char* data, size_t size, size_t count, void* self)
{
  auto* f = static_cast<HttpFetch*>(self);
  f->m_quiet.restart();
  const QByteArray line(data, qsizetype(size * count));
  // An interim answer (100 Continue) is followed by the real status line.
  if (line.startsWith("HTTP/"))
    f->m_headerText.clear();
  f->m_headerText += line;
  if (blankLine(line)) {
    long code = 0;
    curl_easy_getinfo(f->m_easy, CURLINFO_RESPONSE_CODE, &code);
    if (code / 100 != 1)
      f->m_headersDone = true;
  }
  return size * count;
}

size_t HttpFetch::onBody(char* data, size_t size, size_t count, void* self)
{
  auto* f = static_cast<HttpFetch*>(self);
  // Enough for the reader: let the network hold the rest until it asks again.
  if (f->buffered() >= f->m_limit) {
    f->m_paused = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  f->m_quiet.restart();
  if (f->m_readPos > 0) {
    f->m_pending.remove(0, f->m_readPos);
    f->m_readPos = 0;
  }
  f->m_pending.append(data, qsizetype(size * count));
  return size * count;
}

void HttpFetch::perform()
{
  if (!m_easy || m_done)
    return;
  int running = 0;
  curl_multi_perform(m_multi, &running);
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(m_multi, &left)) {
    if (msg->msg == CURLMSG_DONE && msg->easy_handle == m_easy) {
      m_done = true;
      m_result = m_tlsUnusable ? CURLE_SSL_ENGINE_INITFAILED : msg->data.result;
      m_lastResult = m_result;
      m_errorText = QString::fromUtf8(curl_easy_strerror(static_cast<CURLcode>(m_result)));
    }
  }
  // Held back by the reader is not silence; otherwise nothing for the stall limit ends it.
  if (!m_done && !m_paused && m_quiet.isValid() && m_quiet.elapsed() >= stallLimitMs()) {
    curl_multi_remove_handle(m_multi, m_easy);
    m_done = true;
    m_result = CURLE_OPERATION_TIMEDOUT;
    m_errorText = stallDescription();
  }
}

bool HttpFetch::stillExecuting()
{
  perform();
  return m_easy && !m_headersDone && !m_done;
}

void HttpFetch::wait(int ms)
{
  int ready = 0;
  curl_multi_poll(m_multi, nullptr, 0, ms, &ready);
}

QString HttpFetch::headersText() const
{
  QByteArray text = m_headerText;
  while (text.endsWith('\n') || text.endsWith('\r'))
    text.chop(1);
  return QString::fromLatin1(text);
}

QString HttpFetch::header(const QString& name) const
{
  QString value;
  const QByteArray wanted = name.toLatin1().toLower() + ':';
  for (const QByteArray& line : m_headerText.split('\n')) {
    if (line.toLower().startsWith(wanted))
      value = QString::fromLatin1(line.mid(wanted.size()).trimmed());
  }
  return value;
}

qsizetype HttpFetch::readChunk(QByteArray& out, int max, const std::function<void()>& idle)
{
  if (!m_easy)
    throw RuntimeError(kTransferFailed, QStringLiteral("열린 HTTP 요청이 없습니다."));
  m_limit = qMax(1, max);
  while (buffered() < m_limit && !m_done) {
    if (m_paused) {
      m_paused = false;
      m_quiet.restart();
      curl_easy_pause(m_easy, CURLPAUSE_CONT);
    }
    perform();
    if (buffered() >= m_limit || m_done)
      break;
    int ready = 0;
    curl_multi_poll(m_multi, nullptr, 0, 20, &ready);
    if (ready == 0 && idle)
      idle();
  }
  const qsizetype n = qMin<qsizetype>(m_limit, buffered());
  if (n == 0 && m_done && m_result != CURLE_OK)
    throw RuntimeError(kTransferFailed, m_errorText);
  out.resize(n);
  if (n > 0)
    memcpy(out.data(), m_pending.constData() + m_readPos, size_t(n));
  m_readPos += n;
  return n;
}

} // namespace vcm
