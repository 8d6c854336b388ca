#pragma once

#include <QString>

namespace vcm::download {

/// Transfer rate for people: "512 Bytes/S" up to 1023 bytes per second, "12.35 KB/S" up
/// to 1048575, empty otherwise (also for rates between 1023 and 1024 and negative ones).
/// Rounding takes halves to even.
QString rateText(double bytesPerSecond);

/// Time left for people: "42 sec" up to 59 seconds, "2 min 5 sec" up to 3599, otherwise
/// "1 hr 5 min" (also for negative times and those between 59 and 60). Empty when the
/// time cannot be known (no bytes have arrived yet).
QString timeLeftText(double seconds);

/// Percentage of `received` in `total`, halves to even; 0 while the total is unknown.
int percentOf(double received, double total);

/// `target` with the extension of `url` (address ending in .exe, target in .tmp: the
/// target ending in .exe). Each extension is what follows the first dot in the last six
/// characters; without such a dot in either, the target stays as it is.
QString keepTypeTarget(const QString& url, const QString& target);

} // namespace vcm::download
