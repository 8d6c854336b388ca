#include "mainwindow/WorkFlags.h"

#include "common/TextHelpers.h"

#include <QStringList>

namespace vcm {

WorkFlags WorkFlags::parse(const QString& flags, int buttonCount)
{
  WorkFlags out;
  const QStringList parts = flags.split(QLatin1Char(','));
  for (int i = 0; i < buttonCount; ++i) {
    if (i >= parts.size())
      return out;
    const auto number = leadingNumber(parts.at(i));
    out.visible.append(number && *number == 1.0);
  }
  out.complete = true;
  return out;
}

} // namespace vcm
