#pragma once

#include "common/TransportSecurity.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <functional>

typedef void CURL;
typedef void CURLM;
struct curl_slist;

namespace vcm {

/// One HTTP GET at a time over libcurl's multi interface, driven from the user-interface
/// thread: nothing runs in the background, the caller advances the exchange by asking
/// stillExecuting() or reading the body, and lets its events run in between.
///
/// The body is held back by the network once a chunk is buffered, so memory stays at
/// about one chunk plus one network read however large the file is. Proxies from the
/// environment are not used: the request goes to the named host only.
class HttpFetch {
public:
  HttpFetch();
  ~HttpFetch();
  HttpFetch(const HttpFetch&) = delete;
  HttpFetch& operator=(const HttpFetch&) = delete;

  /// Starts a GET of `url`, dropping a request still open. `requestHeader` is one extra
  /// header line without line break ("Range: bytes=100-"), or empty.
  void start(const QString& url, const QByteArray& requestHeader = {});

  /// TLS settings for https addresses of the following start() calls.
  void setTls(TlsMode mode, const TransportSecurity& trust);

  /// curl's result of the last exchange that ended (0 while none has).
  int result() const { return m_lastResult; }

  /// Drops the open request, if any.
  void cancel();

  /// True while a request is open and neither its response headers are complete nor
  /// the exchange has ended. Advances the exchange. A server that sends nothing for the
  /// stall limit (NetworkWait) ends the exchange as failed.
  bool stillExecuting();

  /// Waits up to `ms` milliseconds for network activity.
  void wait(int ms);

  /// The response headers as one text, status line first, lines joined by CR LF; empty
  /// when no answer arrived.
  QString headersText() const;

  /// Value of the response header `name` (case-insensitive), null when absent.
  QString header(const QString& name) const;

  /// Reads the next part of the body, at most `max` bytes, into `out`, waiting for the
  /// network when needed and calling `idle` while it waits. Returns the number of bytes
  /// read; 0 at the end of the body. Throws RuntimeError when no request is open or the
  /// transfer failed (connection lost, fewer bytes than the server announced) and
  /// nothing is left to read.
  qsizetype readChunk(QByteArray& out, int max, const std::function<void()>& idle = {});

private:
  static size_t onHeader(char* data, size_t size, size_t count, void* self);
  static size_t onBody(char* data, size_t size, size_t count, void* self);
  void perform();
  qsizetype buffered() const { return m_pending.size() - m_readPos; }

  CURLM* m_multi = nullptr;
  CURL* m_easy = nullptr;
  curl_slist* m_requestHeaders = nullptr;
  QByteArray m_url;
  QByteArray m_headerText;
  bool m_headersDone = false;
  bool m_done = false;
  int m_result = 0;
  QString m_errorText;
  QByteArray m_pending;
  qsizetype m_readPos = 0;
  qsizetype m_limit = 1;
  bool m_paused = false;
  QElapsedTimer m_quiet;  // since the last byte arrived (or the reader asked again)
  int m_lastResult = 0;  // kept when the request is dropped
  bool m_tlsUnusable = false;  // the TLS settings cannot be honoured by this curl
  TlsMode m_tlsMode = TlsMode::Off;
  TransportSecurity m_trust;
};

} // namespace vcm
