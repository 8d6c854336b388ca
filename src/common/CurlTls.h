#pragma once

#include "common/TransportSecurity.h"

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
/// this curl (a pin with a TLS library other than OpenSSL): the caller must not connect.
bool applyCurlTls(CURL* curl, TlsMode mode, const TransportSecurity& trust, CurlChannel channel);

/// Whether a finished curl request ran over TLS (curl's CURLINFO_TLS_SSL_PTR / used scheme).
bool curlUsedTls(CURL* curl);

/// A curl result that means the TLS handshake or the certificate check failed, or a
/// server refused TLS that was required.
bool isCurlTlsFailure(int curlCode);

/// The Korean notice for a connection refused because TLS was required and not had.
QString tlsRequiredNotice();

} // namespace vcm
