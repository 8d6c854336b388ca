#pragma once

#include "common/TransportSecurity.h"

#include <QList>
#include <QString>

typedef void CURL;

namespace vcm {

/// What a channel asks of curl.
enum class CurlChannel { Ftp, Http };

/// Sets the TLS options of one curl request for `mode`. FTP: explicit FTPS (AUTH TLS)
/// with a protected data channel (PROT P), tried under Preferred and insisted on under
/// Required. HTTP: the caller picks the scheme (httpsWanted); this sets verification.
/// The certificate is verified under Required and whenever a CA or pin is named; a pin
/// is the SHA-256 of the server certificate (DER) and is checked during the handshake,
/// before any credential is sent. Returns false when the settings cannot be honoured by
/// this curl (a pin with a TLS library other than OpenSSL): the caller must not connect,
/// and reports it as CURLE_SSL_ENGINE_INITFAILED, a TLS failure (isCurlTlsFailure) that
/// no clear-text attempt may follow (mayFallBackToClear).
bool applyCurlTls(CURL* curl, TlsMode mode, const TransportSecurity& trust, CurlChannel channel);

/// Whether a finished curl request ran over TLS (curl's CURLINFO_TLS_SSL_PTR / used scheme).
bool curlUsedTls(CURL* curl);

/// A curl result that means the TLS handshake or the certificate check failed, or a
/// server refused TLS that was required.
bool isCurlTlsFailure(int curlCode);

/// One address to try for an HTTP resource.
struct HttpAddress {
  QString url;
  bool tls = false;
};

/// The addresses of `path` (with query) on `host` (a name or address, optionally with
/// ":port" for plain HTTP), in the order to try: HTTPS only (Required), HTTPS then HTTP
/// (Preferred), HTTP only (Off). HTTPS goes to `httpsPort` (443 is left out of the URL),
/// plain HTTP to the port in `host`, else `httpPort` (80 is left out).
QList<HttpAddress> httpAddresses(const QString& host, int httpPort, int httpsPort,
                                 const QString& path, TlsMode mode);

/// Under Preferred, whether a failed HTTPS attempt may be followed by plain HTTP: not
/// when a CA or pin was named and the certificate is what failed.
bool mayFallBackToClear(int curlCode, const TransportSecurity& trust);

/// The Korean notice for a connection refused because TLS was required and not had.
QString tlsRequiredNotice();

} // namespace vcm
