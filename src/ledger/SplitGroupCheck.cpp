#include "ledger/SplitGroupCheck.h"

#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"

namespace vcm {

SplitGroupCheck::Failure SplitGroupCheck::firstFailure(const Grid& deal)
{
  const int rows = deal.rowCount();
  for (int i = 1; i <= rows; ++i) {
    const double originalIn = deal.number(deal::SplitIn, i);
    const double originalOut = deal.number(deal::SplitOut, i);
    if (originalIn == 0 && originalOut == 0)
      continue;
    double in = deal.shownNumber(deal::InAmount, i);
    double out = deal.shownNumber(deal::OutAmount, i);
    const QString key = deal.text(deal::DealCode, i) + deal.text(deal::PartNo, i);
    for (int j = i + 1; j <= rows && deal.text(deal::SplitSource, j).trimmed() == key; ++j) {
      in += deal.shownNumber(deal::InAmount, j);
      out += deal.shownNumber(deal::OutAmount, j);
    }
    const double cls = deal.number(deal::ClassNo, i);
    bool adds;
    if (cls == 1)
      adds = in - out == originalIn;
    else if (cls == 2)
      adds = out - in == originalOut;
    else
      return {i, Reason::UnknownClass};
    if (!adds)
      return {i, Reason::Unbalanced};
  }
  return {};
}

} // namespace vcm
