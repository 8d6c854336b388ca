#include "common/CurlTls.h"

#include <QFile>

#include <curl/curl.h>

#include <cstring>

#if !defined(Q_OS_WIN)
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#endif

namespace vcm {

namespace {

#if !defined(Q_OS_WIN)
// The pin travels with the SSL_CTX curl makes for the connection.
int pinIndex()
{
  static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
  return index;
}

/// Accepts the chain as it is and the leaf only when its SHA-256 is the pinned one.
int verifyPinned(int /*preverified*/, X509_STORE_CTX* store)
{
  if (X509_STORE_CTX_get_error_depth(store) != 0)
    return 1;
  auto* ssl = static_cast<SSL*>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
  const auto* pin = static_cast<const QByteArray*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), pinIndex()));
  X509* leaf = X509_STORE_CTX_get_current_cert(store);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!pin || !leaf || !X509_digest(leaf, EVP_sha256(), digest, &length))
    return 0;
  return pin->size() == static_cast<int>(length) && std::memcmp(pin->constData(), digest, length) == 0;
}

CURLcode installPinCheck(CURL*, void* sslContext, void* pin)
{
  auto* ctx = static_cast<SSL_CTX*>(sslContext);
  SSL_CTX_set_ex_data(ctx, pinIndex(), pin);
  SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, &verifyPinned);
  return CURLE_OK;
}
#endif

/// Verification by the pin alone (the pinned certificate needs no chain or name).
bool setPin(CURL* curl, const TransportSecurity& trust)
{
#if defined(Q_OS_WIN)
  // Schannel offers no hook into the handshake, and CURLOPT_PINNEDPUBLICKEY pins the
  // public key, not the certificate: a certificate pin cannot be checked before the
  // login there. Name a CA file for Windows installations instead.
  Q_UNUSED(curl);
  Q_UNUSED(trust);
  return false;
#else
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  // The pin check lives in the SSL context: curl's session cache would let a resumed
  // session skip it, and every connection must show the pinned certificate.
  curl_easy_setopt(curl, CURLOPT_SSL_SESSIONID_CACHE, 0L);
  if (curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, const_cast<QByteArray*>(&trust.pinnedSha256)) != CURLE_OK)
    return false;
  return curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &installPinCheck) == CURLE_OK;
#endif
}

} // namespace

bool applyCurlTls(CURL* curl, TlsMode mode, const TransportSecurity& trust, CurlChannel channel)
{
  if (channel == CurlChannel::Ftp)
    curl_easy_setopt(curl, CURLOPT_USE_SSL,
                     static_cast<long>(mode == TlsMode::Required  ? CURLUSESSL_ALL
                                       : mode == TlsMode::Preferred ? CURLUSESSL_TRY
                                                                    : CURLUSESSL_NONE));
  if (mode == TlsMode::Off)
    return true;
  if (!trust.pinnedSha256.isEmpty())
    return setPin(curl, trust);
  const bool verify = mode == TlsMode::Required || !trust.caFile.isEmpty();
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, verify ? 1L : 0L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, verify ? 2L : 0L);
#if defined(Q_OS_WIN)
  // Schannel asks for revocation data by default and fails when a private CA publishes
  // none; a revoked certificate is still refused.
  curl_easy_setopt(curl, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
#endif
  if (!trust.caFile.isEmpty()) {
    // curl copies the text.
    const QByteArray ca = QFile::encodeName(trust.caFile);
    curl_easy_setopt(curl, CURLOPT_CAINFO, ca.constData());
  }
  return true;
}

bool curlUsedTls(CURL* curl)
{
  curl_tlssessioninfo* info = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_TLS_SSL_PTR, &info) != CURLE_OK || !info)
    return false;
  return info->backend != CURLSSLBACKEND_NONE && info->internals != nullptr;
}

bool isCurlTlsFailure(int curlCode)
{
  switch (curlCode) {
  case CURLE_USE_SSL_FAILED:
  case CURLE_SSL_CONNECT_ERROR:
  case CURLE_PEER_FAILED_VERIFICATION:
  case CURLE_SSL_CACERT_BADFILE:
  case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
  case CURLE_SSL_INVALIDCERTSTATUS:
  case CURLE_SSL_CERTPROBLEM:
  case CURLE_SSL_ISSUER_ERROR:
  case CURLE_SSL_ENGINE_INITFAILED:  // our code for TLS settings this curl cannot honour
    return true;
  default:
    return false;
  }
}

QList<HttpAddress> httpAddresses(const QString& host, int httpPort, int httpsPort,
                                 const QString& path, TlsMode mode)
{
  const qsizetype colon = host.lastIndexOf(QLatin1Char(':'));
  const QString name = colon > 0 ? host.left(colon) : host;
  const int plainPort = colon > 0 ? host.mid(colon + 1).toInt() : httpPort;
  const auto url = [&](const char* scheme, int port, int defaultPort) {
    QString u = QLatin1String(scheme) + QStringLiteral("://") + name;
    if (port != defaultPort)
      u += QLatin1Char(':') + QString::number(port);
    return u + path;
  };
  QList<HttpAddress> out;
  if (mode != TlsMode::Off)
    out.append({url("https", httpsPort, 443), true});
  if (mode != TlsMode::Required)
    out.append({url("http", plainPort, 80), false});
  return out;
}

bool mayFallBackToClear(int curlCode, const TransportSecurity& trust)
{
  if (!trust.namesTrust())
    return true;
  switch (curlCode) {
  case CURLE_PEER_FAILED_VERIFICATION:
  case CURLE_SSL_CACERT_BADFILE:
  case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
  case CURLE_SSL_ISSUER_ERROR:
  case CURLE_SSL_ENGINE_INITFAILED:  // a named trust this curl cannot check
    return false;
  default:
    return true;
  }
}

QString tlsRequiredNotice()
{
  return QStringLiteral("서버와 보안 연결(TLS)을 맺을 수 없습니다. 서버 인증서를 확인할 수 "
                        "없거나 서버가 보안 연결을 제공하지 않습니다.\n\n관리자에게 문의하세요.");
}

} // namespace vcm
