#pragma once

#include "common/grid/Grid.h"

#include <QString>

#include <array>
#include <vector>

namespace vcm {

/// One entry handed to the search popup: fields 1 to 8 (index 0 unused) are the entry
/// code, date, account, summary, counterpart, income and expense as shown, and the
/// ledger grid row, all trimmed.
using SearchEntry = std::array<QString, 9>;
using SearchList = std::vector<SearchEntry>;

/// The search of the ledger's month as the grid shows it.
class DealSearch {
public:
  /// True for a text the amount search can read as one number: blanks around it and
  /// thousands separators allowed ("50,000", " 1.5 "), nothing else ("5만", "", "-").
  static bool isNumber(const QString& text);

  /// The grid rows that match `text` (already trimmed, not empty) under search option
  /// `option` (1 account, 2 summary, 3 counterpart, 4 amount). The amount compares the
  /// number of the text with either amount column; the others match the trimmed cell
  /// against "*" + upper-cased text + "*", so pattern characters typed in the search text
  /// keep their meaning and the cell's own case counts.
  static std::vector<int> matchingRows(const Grid& deal, int option, const QString& text);

  /// The popup's entry for a ledger row.
  static SearchEntry entry(const Grid& deal, int row);
};

} // namespace vcm
