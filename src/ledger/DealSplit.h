#pragma once

#include <QString>

namespace vcm {

class Grid;

/// Split groups in sprDeal: a source row followed directly by its unsaved parts (column
/// 31 naming the source's code and part number). Splitting copies the source's
/// descriptive columns into new parts and remembers the source's amounts before the
/// first split (columns 29/30); every change of a part's amount gives the difference
/// back to the source, so the group keeps adding up to what the bank booked.
class DealSplit {
public:
  /// Why row `row` cannot be split: it is itself an unsaved part, or it carries both
  /// amounts or none. Empty when it can.
  static QString refusal(const Grid& deal, int row);

  /// Inserts `parts` new parts directly under row `row` (each one at `row` + 1, so a
  /// source split again gets the new parts at the top of its group) and marks the
  /// source: columns 29/30 set once, amounts locked and greyed, red text, changed.
  static void split(Grid& deal, int row, int parts);

  /// Code followed by part number: the key that the parts of a row carry in column 31.
  static QString key(const Grid& deal, int row);

  /// The source of the unsaved part in row `part`: the first row from the top whose key
  /// is the part's column 31. -1 when there is none; 0 when `part` is no unsaved part.
  static int sourceOf(const Grid& deal, int part);

  enum class Outcome {
    NotAPart,      ///< the row carries no source key: nothing to do
    NoSource,      ///< the key names no row
    UnknownClass,  ///< the source is neither income (1) nor expense (2)
    Done,
  };
  /// Gives the source of the part in row `part` the amount that makes its group add up
  /// again (class 1: income = before − Σ part incomes + Σ part expenses; class 2:
  /// expense = before + Σ part incomes − Σ part expenses).
  static Outcome recomputeSource(Grid& deal, int part);

  /// Removes the unsaved part in row `part`: its amounts no longer count for the source,
  /// then the row goes. A source left without parts takes back exactly its amounts from
  /// before the split. Returns how the source was recomputed.
  static Outcome removePart(Grid& deal, int part);

  /// The notice for a recompute that failed; empty for the others.
  static QString failureText(Outcome outcome);
};

} // namespace vcm
