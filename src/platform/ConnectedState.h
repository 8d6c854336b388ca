#pragma once

namespace vcm {

/// How this computer reaches the internet, as the online check of the downloader asks.
struct ConnectedState {
  enum Flag { Modem = 1, Lan = 2, Proxy = 4 };
  bool connected = false;
  int flags = 0;  ///< Flag bits
};

/// The system's view: on Windows the internet API's connection state; elsewhere a LAN
/// connection when a network interface other than loopback is up, and a proxy when the
/// environment names one.
ConnectedState internetConnectedState();

} // namespace vcm
