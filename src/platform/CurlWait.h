#pragma once

#include <QtGlobal>

typedef void CURL;
typedef void CURLM;

namespace vcm {

/// Runs the libcurl transfer set up on `easy` to its end from the user-interface thread,
/// through `multi` (whose connection cache keeps a connection for the next transfer).
/// While the network is quiet it waits on curl's sockets in short slices with the
/// windows painting, the busy pointer showing and member input dropped (NetworkWait).
/// A transfer in which nothing moves for the stall limit is given up: the result is
/// CURLE_OPERATION_TIMEDOUT and `stalled` is set. Returns curl's result code.
int performWaiting(CURLM* multi, CURL* easy, bool* stalled = nullptr);

/// For a callback of the transfer that performWaiting runs, when curl is about to wait on
/// a socket on its own (it then surfaces only once a second): waits first, painting, on
/// the transfer's stall clock, until `fd` has something to read. Returns false when no
/// transfer runs or nothing came within the stall limit.
bool awaitReadableDuringTransfer(qintptr fd);

} // namespace vcm
