#include "ledger/DealSearch.h"

#include "common/TextHelpers.h"
#include "ledger/DealColumns.h"
#include "ledger/LikePattern.h"

#include <QRegularExpression>

namespace vcm {

bool DealSearch::isNumber(const QString& text)
{
  static const QRegularExpression number(
      QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?$"));
  QString t = text.trimmed();
  t.remove(QLatin1Char(','));
  return number.match(t).hasMatch();
}

std::vector<int> DealSearch::matchingRows(const Grid& deal, int option, const QString& text)
{
  std::vector<int> rows;
  const int last = deal.rowCount();
  if (option == 4) {
    const double amount = numVal(text);
    for (int r = 1; r <= last; ++r)
      if (deal.shownNumber(deal::InAmount, r) == amount || deal.shownNumber(deal::OutAmount, r) == amount)
        rows.push_back(r);
    return rows;
  }
  const int col = option == 2 ? deal::Summary : (option == 3 ? deal::Customer : deal::Account);
  const QString pattern = QLatin1Char('*') + text.toUpper() + QLatin1Char('*');
  for (int r = 1; r <= last; ++r)
    if (LikePattern::matches(deal.text(col, r).trimmed(), pattern))
      rows.push_back(r);
  return rows;
}

SearchEntry DealSearch::entry(const Grid& deal, int row)
{
  auto cell = [&](int col) { return deal.text(col, row).trimmed(); };
  return {QString(),           cell(deal::DealCode), cell(deal::DealDate),
          cell(deal::Account), cell(deal::Summary),  cell(deal::Customer),
          cell(deal::InAmount), cell(deal::OutAmount), QString::number(row)};
}

} // namespace vcm
