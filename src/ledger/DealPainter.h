#pragma once

#include "common/grid/GridTypes.h"

namespace vcm {

class Grid;

/// Colours of sprDeal: each row in its bank's colour, the current row highlighted, in
/// the work state the read-only columns greyed, and changed rows in red text. Both
/// painting routines repaint every row with painting suspended, so the view redraws once.
class DealPainter {
public:
  /// Browse state: bank colours, then row `row` in `colour`; (`col`, `row`) becomes the
  /// active cell when the active row is another one.
  static void paintBrowse(Grid& deal, int row, Colour colour, int col);
  /// Work state: as paintBrowse, with the read-only columns in grey under the current row.
  static void paintWork(Grid& deal, int row, Colour colour, int col);
  /// Marks row `row` as changed: flag column 26, red text; a split source row keeps its
  /// amounts in grey.
  static void markChanged(Grid& deal, int row);
  /// Row `row` was written by a save that then stopped: it no longer counts as changed
  /// and shows its loaded colours again; a new part that was inserted (`insertedPartNo`
  /// not empty) becomes a saved part with that number.
  static void markSaved(Grid& deal, int row, const QString& insertedPartNo);

private:
  static void paintBankColours(Grid& deal);
  static void highlight(Grid& deal, int row, Colour colour, int col);
};

} // namespace vcm
