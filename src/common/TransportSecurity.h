#pragma once

#include <QByteArray>
#include <QString>

namespace vcm {

/// How one channel (database, FTP, HTTP) treats TLS.
enum class TlsMode {
  Off,       ///< never asks for TLS
  Preferred, ///< TLS when the server offers it; the certificate is checked when a CA or pin is named
  Required,  ///< no connection without TLS and a verified certificate; never falls back to clear text
};

/// The deployment's transport-security settings. The service's servers decide what they
/// offer; this says what the client insists on.
struct TransportSecurity {
  TlsMode db = TlsMode::Preferred;
  TlsMode ftp = TlsMode::Preferred;
  TlsMode http = TlsMode::Preferred;
  /// Absolute path of the CA file named by tls_ca, or empty.
  QString caFile;
  /// SHA-256 of the server certificate (DER) named by tls_ca, 32 bytes, or empty.
  QByteArray pinnedSha256;

  /// A CA or a pin is named, so a certificate can be verified.
  bool namesTrust() const { return !caFile.isEmpty() || !pinnedSha256.isEmpty(); }
};

/// "off", "preferred", "required" (any case). False for anything else.
bool parseTlsMode(const QString& text, TlsMode* mode);

/// A SHA-256 fingerprint: 64 hexadecimal digits, optionally in pairs separated by ':',
/// optionally prefixed "sha256:" or "sha256//". False when `text` is no fingerprint.
bool parseSha256Pin(const QString& text, QByteArray* pin);

/// The pin as upper-case hexadecimal pairs separated by ':' (as openssl prints it).
QByteArray pinText(const QByteArray& pin);

} // namespace vcm
