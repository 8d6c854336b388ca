#include "platform/NetworkWait.h"

#include "platform/Ui.h"

#include <QString>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <poll.h>
#include <sys/socket.h>
#endif

namespace vcm {

namespace {

/// Longest single sleep on a socket between two passes of the paint events.
constexpr int kSliceMs = 20;

#ifdef Q_OS_WIN
using PollFd = WSAPOLLFD;
constexpr short kIn = POLLRDNORM;
constexpr short kOut = POLLWRNORM;
int pollOne(PollFd& p, int ms) { return WSAPoll(&p, 1, ms); }
#else
using PollFd = pollfd;
constexpr short kIn = POLLIN;
constexpr short kOut = POLLOUT;
int pollOne(PollFd& p, int ms) { return ::poll(&p, 1, ms); }
#endif

int pollSocket(qintptr fd, int events, int ms)
{
  PollFd p{};
  p.fd = static_cast<decltype(p.fd)>(fd);
  p.events = static_cast<short>(((events & NetworkWait::Read) ? kIn : 0) |
                                ((events & NetworkWait::Write) ? kOut : 0));
  if (pollOne(p, ms) <= 0)
    return 0;
  // An error or a hang-up is reported as ready, so the library reads the failure.
  const bool failed = p.revents & (POLLERR | POLLHUP | POLLNVAL);
  int ready = 0;
  if ((p.revents & kIn) || (failed && (events & NetworkWait::Read)))
    ready |= NetworkWait::Read;
  if ((p.revents & kOut) || (failed && (events & NetworkWait::Write)))
    ready |= NetworkWait::Write;
  return ready;
}

} // namespace

int stallLimitMs()
{
  bool ok = false;
  const int configured = qEnvironmentVariableIntValue("VCM_STALL_LIMIT_MS", &ok);
  return ok && configured > 0 ? configured : 30'000;
}

QString stallDescription()
{
  const int seconds = qMax(1, (stallLimitMs() + 999) / 1000);
  return QStringLiteral("서버가 %1초 동안 응답하지 않아 작업을 중단하였습니다. "
                        "잠시 후 다시 시도하세요.")
      .arg(seconds);
}

NetworkWait::NetworkWait() : m_limit(stallLimitMs())
{
  m_quiet.start();
  ui().beginNetworkWait();
}

NetworkWait::~NetworkWait() { ui().endNetworkWait(); }

int NetworkWait::waitSocket(qintptr fd, int events, int ms)
{
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    qint64 left = m_limit - m_quiet.elapsed();
    if (ms >= 0)
      left = qMin<qint64>(left, ms - waited.elapsed());
    if (left <= 0)
      return 0;
    const int ready = pollSocket(fd, events, static_cast<int>(qMin<qint64>(kSliceMs, left)));
    if (ready) {
      progress();
      return ready;
    }
    ui().networkIdle();
  }
}

void NetworkWait::abortSocket(qintptr fd)
{
#ifdef Q_OS_WIN
  ::shutdown(static_cast<SOCKET>(fd), SD_BOTH);
#else
  ::shutdown(static_cast<int>(fd), SHUT_RDWR);
#endif
}

void NetworkWait::idle() { ui().networkIdle(); }

} // namespace vcm
