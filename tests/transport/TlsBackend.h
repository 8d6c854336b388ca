#pragma once

#include "common/Session.h"
#include "common/TransportSecurity.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "transfer/FtpRoutines.h"

#include <gtest/gtest.h>

#include <memory>

#ifdef Q_OS_WIN
#include <curl/curl.h>
#endif

namespace vcm::test {

/// One TLS backend for all cases of a test program (started at the first use).
inline IsolatedBackend* tlsBackend()
{
  static std::unique_ptr<IsolatedBackend> backend = [] {
    IsolatedOptions options;
    options.noLocalGrant = false;
    options.tls = true;
    return Backend::startIsolated(options);
  }();
  return backend.get();
}

/// A fixture on the TLS backend; every case starts and ends with an empty session.
class TlsBackendTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    be = tlsBackend();
    Session.reset();
  }
  void TearDown() override
  {
    g_FtpClose();
    Session.Connection.reset();
    Session.reset();
  }

  IsolatedBackend* be = nullptr;
  ScopedScriptedUi ui;
};

/// What a case names as trust in deploy.ini's tls_ca.
enum class Trust { None, Ca, WrongCa, Pin, WrongPin };

inline TransportSecurity trustFor(Backend& be, Trust trust)
{
  TransportSecurity t;
  switch (trust) {
  case Trust::None: break;
  case Trust::Ca: t.caFile = be.value(QStringLiteral("TLS_CA")); break;
  case Trust::WrongCa: t.caFile = be.value(QStringLiteral("TLS_WRONG_CA")); break;
  case Trust::Pin:
    parseSha256Pin(be.value(QStringLiteral("TLS_SERVER_SHA256")), &t.pinnedSha256);
    break;
  case Trust::WrongPin:
    parseSha256Pin(be.value(QStringLiteral("TLS_OTHER_SHA256")), &t.pinnedSha256);
    break;
  }
  return t;
}

inline const char* modeName(TlsMode m)
{
  return m == TlsMode::Off ? "off" : m == TlsMode::Preferred ? "preferred" : "required";
}

inline const char* trustName(Trust t)
{
  static const char* names[] = {"none", "ca", "wrong-ca", "pin", "wrong-pin"};
  return names[static_cast<int>(t)];
}

/// What the system's TLS (Schannel through the kit's curl) cannot do here, found by
/// asking the TLS backend: why, or empty where the platform can. Linux (OpenSSL) has no
/// such limit.
inline const std::string& curlValidationLimit(Backend& be)
{
  static const std::string limit = [&be]() -> std::string {
#ifdef Q_OS_WIN
    // With no CA named, curl leaves the certificate to Schannel's own validation.
    CURL* curl = curl_easy_init();
    const QByteArray url = QStringLiteral("https://127.0.0.1:%1/").arg(be.value(QStringLiteral("HTTPS_OTHER_PORT"))).toLatin1();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK)
      return "Wine's Schannel does not validate the server certificate in the handshake "
             "(SCH_CRED_AUTO_CRED_VALIDATION, which curl relies on when no CA is named): curl accepted "
             "a certificate for another name from a CA outside the system store";
#else
    Q_UNUSED(be);
#endif
    return {};
  }();
  return limit;
}

/// Wine's crypt32 (8.0) takes CERT_CHAIN_ENGINE_CONFIG only in its 64- and 80-byte
/// layouts; the connector passes the 88-byte one of Windows 8 (with dwExclusiveFlags) to
/// build its store of the named CA and gets E_INVALIDARG, so no CA can be verified.
inline std::string connectorCaStoreLimit(const QString& failure)
{
  if (!failure.contains(QStringLiteral("CertCreateCertificateChainEngine failed")))
    return {};
  return "the connector cannot build its CA store here (Wine's crypt32 refuses the 88-byte Windows 8 "
         "CERT_CHAIN_ENGINE_CONFIG, taking only 64 and 80 bytes): " + failure.toStdString();
}

} // namespace vcm::test
