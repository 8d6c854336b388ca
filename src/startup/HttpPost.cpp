#include "startup/HttpPost.h"

#include "common/CurlTls.h"
#include "common/RuntimeError.h"
#include "common/Session.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace vcm {

namespace {

/// Number the request failure carries; only the server-list routines see it.
constexpr int kRequestFailed = 12029;

size_t appendBody(char* data, size_t size, size_t count, void* target)
{
  static_cast<QByteArray*>(target)->append(data, static_cast<qsizetype>(size * count));
  return size * count;
}

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
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 60L);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, 90L);
  if (urlBytes.startsWith("https:") && !applyCurlTls(c, Session.Tls.http, Session.Tls, CurlChannel::Http))
    throw RuntimeError(kRequestFailed, tlsRequiredNotice(), CURLE_SSL_ENGINE_INITFAILED);

  const CURLcode result = curl_easy_perform(c);
  if (result != CURLE_OK)
    throw RuntimeError(kRequestFailed, QStringLiteral("서버에 연결할 수 없습니다. (%1)")
                                           .arg(QString::fromUtf8(curl_easy_strerror(result))),
                       static_cast<int>(result));
  return answer;
}

} // namespace vcm
