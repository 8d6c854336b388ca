#include "ledger/MonthText.h"

#include <QDate>
#include <QRegularExpression>

namespace vcm {

bool MonthText::isValid(const QString& text)
{
  static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})(?:-(\\d{1,2}))?$"));
  const auto m = form.match(QString(text).replace(QLatin1Char('.'), QLatin1Char('-')).trimmed());
  if (!m.hasMatch())
    return false;
  const int day = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
  return QDate(m.captured(1).toInt(), m.captured(2).toInt(), day).isValid();
}

namespace {

QString monthsAfter(const QString& date, int months)
{
  const QDate d = QDate::fromString(QString(date).trimmed().replace(QLatin1Char('.'), QLatin1Char('-')),
                                    QStringLiteral("yyyy-MM-dd"));
  if (!d.isValid())
    return {};
  return d.addMonths(months).toString(QStringLiteral("yyyy.MM"));
}

} // namespace

QString MonthText::previousMonth(const QString& date)
{
  return monthsAfter(date, -1);
}

QString MonthText::shifted(const QString& month, int months)
{
  return monthsAfter(month.trimmed() + QStringLiteral(".01"), months);
}

} // namespace vcm
