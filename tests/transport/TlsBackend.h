#pragma once

#include "common/Session.h"
#include "common/TransportSecurity.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "transfer/FtpRoutines.h"

#include <gtest/gtest.h>

#include <memory>

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

} // namespace vcm::test
