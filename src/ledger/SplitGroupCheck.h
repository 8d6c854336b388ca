#pragma once

namespace vcm {

class Grid;

/// The invariant of split entries checked before a save: a split source row (columns
/// 29/30 hold its amounts before the first split) together with the unsaved parts
/// directly below it (column 31 naming the source's code and part number) still adds up
/// to the source's original amount.
class SplitGroupCheck {
public:
  enum class Reason { None, UnknownClass, Unbalanced };
  struct Failure {
    int row = 0; ///< the source row of the first group that fails; 0 when all add up
    Reason reason = Reason::None;
    bool ok() const { return reason == Reason::None; }
    bool operator==(const Failure&) const = default;
  };

  static Failure firstFailure(const Grid& deal);
};

} // namespace vcm
