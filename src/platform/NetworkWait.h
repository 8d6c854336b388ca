#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QtGlobal>

namespace vcm {

/// Milliseconds without a byte moving after which a network exchange is given up:
/// 30 seconds, or the value of VCM_STALL_LIMIT_MS (tests shorten it).
int stallLimitMs();

/// Korean description of an exchange given up for silence ("... 30초 동안 ...").
QString stallDescription();

/// One wait of the user-interface thread on a socket. For its lifetime the busy pointer
/// shows and member input is dropped (Ui::beginNetworkWait); while the socket is quiet
/// the windows keep painting, in slices short enough that no repaint waits longer than
/// a few tens of milliseconds. It also keeps the stall clock: progress() restarts it.
class NetworkWait {
public:
  enum Event { Read = 1, Write = 2 };

  NetworkWait();
  ~NetworkWait();
  NetworkWait(const NetworkWait&) = delete;
  NetworkWait& operator=(const NetworkWait&) = delete;

  /// Waits until `fd` is ready for `events` (Read | Write), `ms` milliseconds have
  /// passed (negative: no such limit) or the stall limit is reached. Returns the ready
  /// events, 0 when none. A ready socket counts as progress.
  int waitSocket(qintptr fd, int events, int ms = -1);

  /// Lets the windows paint once, without waiting on anything.
  void idle();

  /// Shuts both directions of `fd`, so the exchange running on it ends with an error at
  /// its next read or write instead of waiting any longer.
  static void abortSocket(qintptr fd);

  void progress() { m_quiet.restart(); }
  bool stalled() const { return m_quiet.elapsed() >= m_limit; }
  qint64 quietMs() const { return m_quiet.elapsed(); }

private:
  QElapsedTimer m_quiet;
  int m_limit;
};

} // namespace vcm
