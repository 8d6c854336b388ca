#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace vcm::test {

/// Counts of the delaying proxy (tests/peers/delay_proxy.py), summed over its connections.
struct LinkCounts {
  int connections = 0;  ///< connections opened through it
  int bursts = 0;       ///< client->server bursts: exchanges the client waited for
  qint64 clientBytes = 0;
  qint64 serverBytes = 0;

  LinkCounts operator-(const LinkCounts& o) const
  {
    return {connections - o.connections, bursts - o.bursts, clientBytes - o.clientBytes,
            serverBytes - o.serverBytes};
  }
};

/// A delaying TCP proxy in front of `targetPort` on loopback, started for the life of
/// this object: each direction is held back `delayMs`, so a loopback server costs what a
/// distant one does, and every exchange is counted. Throws BackendError when it cannot
/// start.
class DelayProxy {
public:
  DelayProxy(int targetPort, double delayMs);
  ~DelayProxy();
  DelayProxy(const DelayProxy&) = delete;
  DelayProxy& operator=(const DelayProxy&) = delete;

  int port() const { return m_port; }
  LinkCounts counts() const;

private:
  // The proxy is a host program: under Wine its files live where both sides see them
  // (drive Z: is the host's root), not in the prefix's own temporary folder.
#ifdef Q_OS_WIN
  QTemporaryDir m_dir{QStringLiteral("Z:/tmp/vcm-delay-XXXXXX")};
#else
  QTemporaryDir m_dir;
  QProcess m_process;
#endif
  int m_port = 0;
};

} // namespace vcm::test
