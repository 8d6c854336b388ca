#pragma once

#include <QByteArray>
#include <QString>

namespace vcm {

/// Sends a POST with Content-Type application/x-www-form-urlencoded and returns the
/// response body, whatever the status. The window keeps painting while it waits
/// (performWaiting). Throws RuntimeError when no answer arrives (host unreachable,
/// connection refused, nothing for the stall limit) or the answer runs past 1 KB. The URL is used exactly as
/// given, without encoding, and never appears in an error text: it may carry a password.
/// Proxies from the environment are not used, so the request goes to the named host only.
QByteArray httpPostForm(const QString& url, const QByteArray& body);

} // namespace vcm
