#include "ledger/PartNumber.h"

#include "common/TextHelpers.h"

#include <cmath>

namespace vcm {

QString PartNumber::next(const QString& highest)
{
  if (highest.isNull())
    return QStringLiteral("001");
  const auto n = static_cast<qint64>(std::floor(numVal(highest))) + 1;
  return QString::number(n).rightJustified(3, QLatin1Char('0'));
}

} // namespace vcm
