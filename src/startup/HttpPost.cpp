#include "startup/HttpPost.h"

#include "common/CurlTls.h"
#include "common/RuntimeError.h"
#include "common/Session.h"
#include "platform/CurlWait.h"
#include "platform/NetworkWait.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace vcm {

namespace {

/// Number the request failure carries; only the server-list routines see it.
constexpr int kRequestFailed = 12029;

/// The service answers one number; anything longer than this is not an answer.
constexpr qsizetype kMaxAnswerBytes = 1024;

size_t appendBody(char* data, size_t size, size_t count, void* target)
{
  auto* answer = static_cast<QByteArray*>(target);
  // Taking less than offered ends the transfer: an answer past the cap is no answer.
  if (answer->size() + static_cast<qsizetype>(size * count) > kMaxAnswerBytes)
    return 0;
  answer->append(data, static_cast<qsizetype>(size * count));
  return size * count;
}

struct MultiDeleter {
  void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct EasyDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

QByteArray httpPostForm(const QString& url, const QByteArray& body)
{
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

  std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
  if (!curl)
    throw RuntimeError(kRequestFailed, QStringLiteral("HTTP 요청 개체를 만들 수 없습니다."));

  const QByteArray urlBytes = url.toUtf8();
  std::unique_ptr<curl_slist, ListDeleter> headers(
      curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded"));
  QByteArray answer;

  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, urlBytes.constData());
  curl_easy_setopt(c, CURLOPT_PROXY, "");
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.constData());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, appendBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &answer);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, 90L);
  if (urlBytes.startsWith("https:") && !applyCurlTls(c, Session.Tls.http, Session.Tls, CurlChannel::Http))
    throw RuntimeError(kRequestFailed, tlsRequiredNotice(), CURLE_SSL_ENGINE_INITFAILED);

  std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
  if (!multi)
    throw RuntimeError(kRequestFailed, QStringLiteral("HTTP 요청 개체를 만들 수 없습니다."));
  bool stalled = false;
  const auto result = static_cast<CURLcode>(performWaiting(multi.get(), c, &stalled));
  if (result == CURLE_WRITE_ERROR)
    throw RuntimeError(kRequestFailed, QStringLiteral("서버의 응답이 너무 깁니다. (%1바이트 초과)")
                                           .arg(kMaxAnswerBytes));
  if (stalled)
    throw RuntimeError(kRequestFailed, stallDescription());
  if (result != CURLE_OK)
    throw RuntimeError(kRequestFailed, QStringLiteral("서버에 연결할 수 없습니다. (%1)")
                                           .arg(QString::fromUtf8(curl_easy_strerror(result))),
                       static_cast<int>(result));
  return answer;
}

} // namespace vcm
