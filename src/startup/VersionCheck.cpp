#include "startup/VersionCheck.h"

#include "common/RuntimeError.h"
#include "common/TextHelpers.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace vcm {

namespace {
constexpr int kOverflow = 6;
constexpr int kTypeMismatch = 13;
} // namespace

bool updateDue(const QString& publishedVersion, const QString& programVersion)
{
  return publishedVersion.trimmed() != programVersion;
}

qint32 installerSize(const QString& fileSizeText)
{
  const std::optional<double> value = g_NumVal(fileSizeText.trimmed());
  if (!value)
    throw RuntimeError(kOverflow, QStringLiteral("오버플로"));
  // Halves go to the even neighbour, as whole-number conversion always did here.
  const double rounded = std::nearbyint(*value);
  if (rounded < std::numeric_limits<qint32>::min() || rounded > std::numeric_limits<qint32>::max())
    throw RuntimeError(kOverflow, QStringLiteral("오버플로"));
  return static_cast<qint32>(rounded);
}

QString serverDateText(const QString& nowText)
{
  static const QRegularExpression datePart(
      QStringLiteral("^(\\d{4})[-./](\\d{1,2})[-./](\\d{1,2})"));
  const QRegularExpressionMatch m = datePart.match(nowText.trimmed());
  const QDate date = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(),
                                          m.captured(3).toInt())
                                  : QDate();
  if (!date.isValid())
    throw RuntimeError(kTypeMismatch, QStringLiteral("형식이 일치하지 않습니다."));
  return date.toString(QStringLiteral("yyyy.MM.dd"));
}

} // namespace vcm
