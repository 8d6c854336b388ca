#pragma once

#include "ledger/DealStatements.h"

#include <QString>

namespace vcm {

/// The search conditions a month was loaded under, in the words the member reads beside
/// the totals. The loader keeps narrowing later months by a search text typed earlier;
/// without this line another month shows "0 건" with nothing to say why.
class FilterInfo {
public:
  /// "적요 '식비', 지출만": the search option with its text and the income/expense option;
  /// empty when the filter narrows nothing (no text, 전체).
  static QString conditions(const DealFilter& filter);

  /// The line beside the totals after a load that showed `rows` rows under `filter`:
  /// empty without conditions; the conditions while they narrow the rows; that nothing
  /// matched them when no row is shown.
  static QString statusLine(const DealFilter& filter, int rows);
};

} // namespace vcm
