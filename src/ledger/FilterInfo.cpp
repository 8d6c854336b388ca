#include "ledger/FilterInfo.h"

#include <QStringList>

namespace vcm {

namespace {

QString searchOptionName(int option)
{
  switch (option) {
  case 2: return QStringLiteral("적요");
  case 3: return QStringLiteral("거래처");
  case 4: return QStringLiteral("금액");
  default: return QStringLiteral("계정명");
  }
}

} // namespace

QString FilterInfo::conditions(const DealFilter& filter)
{
  QStringList parts;
  const QString text = filter.searchText.trimmed();
  if (!text.isEmpty())
    parts << searchOptionName(filter.searchOption) + QStringLiteral(" '") + text + QLatin1Char('\'');
  if (filter.classOption == 2)
    parts << QStringLiteral("수입만");
  else if (filter.classOption == 3)
    parts << QStringLiteral("지출만");
  return parts.join(QStringLiteral(", "));
}

QString FilterInfo::statusLine(const DealFilter& filter, int rows)
{
  const QString c = conditions(filter);
  if (c.isEmpty())
    return QString();
  if (rows == 0)
    return QStringLiteral("검색 조건에 맞는 거래내역이 없습니다.\n조건: ") + c;
  return QStringLiteral("검색 조건 적용 중\n조건: ") + c;
}

} // namespace vcm
