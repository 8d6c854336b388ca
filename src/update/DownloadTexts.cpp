#include "update/DownloadTexts.h"

#include <QLocale>
#include <cmath>

namespace vcm::download {

namespace {

/// Nearest whole number, halves to even (the default rounding mode).
double roundEven(double x) { return std::nearbyint(x); }

QString number(double x)
{
  return QString::number(x == 0 ? 0.0 : x, 'f', QLocale::FloatingPointShortest);
}

/// Position of the first dot within the last six characters, -1 when there is none.
qsizetype dotInTail(const QString& text)
{
  const qsizetype from = qMax<qsizetype>(0, text.size() - 6);
  return text.indexOf(QLatin1Char('.'), from);
}

} // namespace

QString rateText(double r)
{
  if (r >= 0 && r <= 1023)
    return number(roundEven(r)) + QStringLiteral(" Bytes/S");
  if (r >= 1024 && r <= 1048575)
    return number(roundEven(r / 1024 * 100) / 100) + QStringLiteral(" KB/S");
  return {};
}

QString timeLeftText(double t)
{
  if (!std::isfinite(t))
    return {};
  if (t >= 0 && t <= 59)
    return number(roundEven(t)) + QStringLiteral(" sec");
  if (t >= 60 && t <= 3599)
    return number(std::trunc(t / 60)) + QStringLiteral(" min ") +
           number(std::fmod(roundEven(t), 60)) + QStringLiteral(" sec");
  return number(std::trunc(t / 3600)) + QStringLiteral(" hr ") +
         number(std::fmod(roundEven(t / 60), 60)) + QStringLiteral(" min");
}

int percentOf(double received, double total)
{
  if (total <= 0)
    return 0;
  return int(roundEven(received / total * 100));
}

QString keepTypeTarget(const QString& url, const QString& target)
{
  const qsizetype urlDot = dotInTail(url);
  const qsizetype targetDot = dotInTail(target);
  if (urlDot < 0 || targetDot < 0)
    return target;
  return target.left(targetDot + 1) + url.mid(urlDot + 1);
}

} // namespace vcm::download
