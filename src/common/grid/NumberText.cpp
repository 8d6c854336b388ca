#include "common/grid/NumberText.h"

#include <cmath>

namespace vcm {

QString plainGridNumber(double value, int decimals)
{
  QString s = QString::number(value, 'f', decimals);
  if (s.startsWith(QLatin1Char('-'))) {
    // "-0" after rounding reads as a negative zero; show it as 0.
    bool allZero = true;
    for (QChar c : s.mid(1))
      if (c != QLatin1Char('0') && c != QLatin1Char('.'))
        allZero = false;
    if (allZero)
      s.remove(0, 1);
  }
  return s;
}

QString formatGridNumber(double value, int decimals, bool separator)
{
  QString s = plainGridNumber(value, decimals);
  if (!separator)
    return s;
  const int sign = s.startsWith(QLatin1Char('-')) ? 1 : 0;
  int end = s.indexOf(QLatin1Char('.'));
  if (end < 0)
    end = s.size();
  for (int i = end - 3; i > sign; i -= 3)
    s.insert(i, QLatin1Char(','));
  return s;
}

QString sqlNumber(double value)
{
  if (!std::isfinite(value))
    return QStringLiteral("0");
  if (value == std::floor(value) && std::fabs(value) < 1e15)
    return QString::number(static_cast<qint64>(value));
  QString text = plainGridNumber(value, 6);
  while (text.endsWith(QLatin1Char('0')))
    text.chop(1);
  if (text.endsWith(QLatin1Char('.')))
    text.chop(1);
  return text;
}

bool parseGridNumber(const QString& text, double& out)
{
  QString s;
  s.reserve(text.size());
  for (QChar c : text)
    if (c != QLatin1Char(',') && !c.isSpace())
      s.append(c);
  if (s.isEmpty())
    return false;
  bool ok = false;
  const double v = s.toDouble(&ok);
  if (!ok || !std::isfinite(v))
    return false;
  out = v;
  return true;
}

} // namespace vcm
