#include "platform/ConnectedState.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#include <wininet.h>
#else
#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>
#endif

namespace vcm {

#ifdef Q_OS_WIN

ConnectedState internetConnectedState()
{
  DWORD flags = 0;
  const bool connected = InternetGetConnectedState(&flags, 0) != FALSE;
  return {connected, int(flags & (ConnectedState::Modem | ConnectedState::Lan | ConnectedState::Proxy))};
}

#else

namespace {

bool lanInterfaceUp()
{
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0)
    return false;
  bool up = false;
  for (const ifaddrs* a = list; a && !up; a = a->ifa_next) {
    if (!a->ifa_addr || (a->ifa_addr->sa_family != AF_INET && a->ifa_addr->sa_family != AF_INET6))
      continue;
    const unsigned flags = a->ifa_flags;
    up = (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
  }
  freeifaddrs(list);
  return up;
}

bool proxyConfigured()
{
  for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"})
    if (!qEnvironmentVariableIsEmpty(name))
      return true;
  return false;
}

} // namespace

ConnectedState internetConnectedState()
{
  ConnectedState state;
  if (lanInterfaceUp())
    state.flags |= ConnectedState::Lan;
  if (proxyConfigured())
    state.flags |= ConnectedState::Proxy;
  state.connected = state.flags != 0;
  return state;
}

#endif

} // namespace vcm
