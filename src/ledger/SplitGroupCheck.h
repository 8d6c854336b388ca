#pragma once

#include <QString>

namespace vcm {

class Grid;

/// The invariant of split entries checked before a save: a split source row (columns
/// 29/30 hold its amounts before the first split) together with the unsaved parts
/// directly below it (column 31 naming the source's code and part number) still adds up
/// to the source's original amount.
class SplitGroupCheck {
public:
  /// Empty when every group adds up, else the notice for the first group that does not.
  static QString firstFailure(const Grid& deal);
};

} // namespace vcm
