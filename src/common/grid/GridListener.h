#pragma once

namespace vcm {

/// What a view of a Grid is told. Plain virtual calls rather than signals: a fill of
/// hundreds of thousands of cells must not pay for signal dispatch per cell, and the
/// grid stays QtCore-only. While painting is suspended the grid gathers the changes and
/// reports them once when painting resumes.
class GridListener {
public:
  virtual ~GridListener() = default;

  /// Rows, columns, contents and layout may all have changed.
  virtual void gridReset() = 0;
  /// `count` empty rows now start at `first` (rows below moved down).
  virtual void gridRowsInserted(int first, int count) = 0;
  /// Rows first..first+count-1 are gone (rows below moved up).
  virtual void gridRowsRemoved(int first, int count) = 0;
  /// Text or style of the cells of the block changed (row 0 is the header row).
  virtual void gridCellsChanged(int col1, int row1, int col2, int row2) = 0;
  /// Column widths, hidden columns, row heights, hidden rows or spans changed.
  virtual void gridLayoutChanged() = 0;
  virtual void gridActiveCellChanged() = 0;
  /// Painting was suspended (false) or resumed (true).
  virtual void gridRedrawChanged(bool on) = 0;
};

} // namespace vcm
