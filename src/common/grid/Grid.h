#pragma once

#include "common/grid/GridListener.h"
#include "common/grid/GridTypes.h"
#include "common/grid/StyleLayer.h"

#include <QList>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

namespace vcm {

/// The list grid every screen shows, as data: cells addressed by column and row counted
/// from 1, with row 0 the column header. Screen logic fills and reads it without any
/// widget; a GridView shows it and turns user actions into events.
///
/// A cell has a text, a kind (text with a length limit, number, check box, button, combo
/// box), a lock flag, text and background colours, alignment, font, border and a tag.
/// Texts live in one compact array; everything else lives in StyleLayer's so that
/// styling a block (the whole sheet, a row, a column) costs one write however large the
/// block is.
///
/// Addresses outside the sheet are ignored on writes and read as empty, as the list
/// screens expect of the grid control (no operation here fails).
class Grid {
public:
  explicit Grid(int columns = 0, int rows = 0);
  Grid(const Grid&) = delete;
  Grid& operator=(const Grid&) = delete;

  /// Views (their models) told about changes; a grid may have several. Not owned; a
  /// listener removes itself before it goes.
  void addListener(GridListener* listener);
  void removeListener(GridListener* listener);

  // --- size ---------------------------------------------------------------
  int columnCount() const { return m_cols; }
  int rowCount() const { return m_rows; }
  /// Growing adds empty columns at the right; shrinking forgets what was beyond.
  void setColumnCount(int columns);
  /// Growing appends empty rows; shrinking forgets the rows beyond, styles included.
  void setRowCount(int rows);
  /// Inserts `count` empty rows so that the first one becomes row `at` (1..rowCount+1).
  void insertRows(int at, int count = 1);
  /// Deletes rows at..at+count-1 with their texts, styles and tags.
  void deleteRows(int at, int count = 1);

  // --- contents -----------------------------------------------------------
  /// The text as shown: number cells give "#,##0", check boxes "1" or "0"/"" as stored.
  QString text(int col, int row) const;
  /// Number cells read the text leniently ("1,234" is 1234) and stay empty for text that
  /// is no number; other cells keep the text as is.
  void setText(int col, int row, const QString& text);
  /// As above, taking over the text (a loader moving thousands of texts in saves a copy each).
  void setText(int col, int row, QString&& text);
  /// Number cells: the number without separators ("1234"); others: the text.
  QString value(int col, int row) const;
  void setValue(int col, int row, const QString& value) { setText(col, row, value); }
  /// Numeric content, 0 for empty or non-numeric text.
  double number(int col, int row) const;
  /// number() as the cell shows it: a number cell's value rounded to its decimals.
  double shownNumber(int col, int row) const;
  /// True, with the number in `out`, when the cell holds a number (a number cell with a
  /// value, or any cell written with setNumber); false for empty and text cells.
  bool storedNumber(int col, int row, double& out) const;
  void setNumber(int col, int row, double value);
  /// A mark kept in a hidden column: set when the cell reads as a non-zero number.
  bool flag(int col, int row) const { return number(col, row) != 0; }
  /// Sets the mark to 1 (the text "1") or clears the cell.
  void setFlag(int col, int row, bool on);
  /// A check box is checked when its text reads as a non-zero number.
  bool isChecked(int col, int row) const;
  void setChecked(int col, int row, bool checked);
  /// Empties the texts of a block (styles stay).
  void clearText(const CellRange& range);

  // --- styles of cells and blocks ---------------------------------------------
  const CellKind& kind(int col, int row) const;
  CellType cellType(int col, int row) const { return kind(col, row).type; }
  void setKind(const CellRange& range, const CellKind& kind);
  /// Shorthands for the kinds the screens use.
  void setTextCells(const CellRange& range, int maxLength = 0);
  void setNumberCells(const CellRange& range, double minimum, double maximum, int decimals = 0,
                      bool separator = true);
  void setCheckBoxCells(const CellRange& range, int uncheckedPicture = 0, int checkedPicture = 0,
                        const QString& caption = QString());
  void setButtonCells(const CellRange& range, const QString& caption);

  bool isLocked(int col, int row) const { return m_locked.value(col, row); }
  void setLocked(const CellRange& range, bool locked);

  /// Unset header cells read as the button face, unset data cells as white.
  Colour background(int col, int row) const;
  void setBackground(const CellRange& range, Colour colour);
  Colour foreground(int col, int row) const { return m_foreground.value(col, row); }
  void setForeground(const CellRange& range, Colour colour);

  HAlign horizontalAlignment(int col, int row) const;
  VAlign verticalAlignment(int col, int row) const;
  void setAlignment(const CellRange& range, HAlign horizontal, VAlign vertical = VAlign::Centre);

  bool isBold(int col, int row) const { return (m_font.value(col, row) & BoldBit) != 0; }
  /// Point size, 0 for the view's default font.
  double fontSize(int col, int row) const { return (m_font.value(col, row) & ~BoldBit) / 10.0; }
  void setFont(const CellRange& range, bool bold, double pointSize = 0);

  /// Thin border of a colour around each cell of the block.
  bool hasBorder(int col, int row) const { return m_border.value(col, row) != NoBorder; }
  Colour borderColour(int col, int row) const { return m_border.value(col, row); }
  void setBorder(const CellRange& range, Colour colour);
  void clearBorder(const CellRange& range);

  QString tag(int col, int row) const { return m_tag.value(col, row); }
  void setTag(const CellRange& range, const QString& tag);

  /// A suggestion drawn in grey italics while the cell is empty, with its reason as the
  /// cell's tooltip. It is not the cell's value: text(), value() and every reader of the
  /// grid ignore it. It travels with its row like a style.
  QString hint(int col, int row) const { return m_hint.value(col, row); }
  QString hintReason(int col, int row) const { return m_hintReason.value(col, row); }
  void setHint(int col, int row, const QString& hint, const QString& reason);
  void clearHint(int col, int row) { setHint(col, row, QString(), QString()); }
  /// Takes every hint of the sheet away at once.
  void clearHints();

  // --- columns and rows -----------------------------------------------------
  /// Width in the grid's character units (column 0 is the row-number column); 0: default.
  double columnWidth(int col) const;
  void setColumnWidth(int col, double width);
  bool isColumnHidden(int col) const;
  void setColumnHidden(int col, bool hidden);
  /// Row height in points, 0 for the view's default.
  double rowHeight(int row) const;
  void setRowHeight(int row, double points);
  bool isRowHidden(int row) const;
  /// True when some row has its own height or is hidden.
  bool hasRowLayout() const { return m_rowsWithMeta > 0; }
  void setRowHidden(int row, bool hidden);

  // --- active cell ------------------------------------------------------------
  int activeColumn() const { return m_activeCol; }
  int activeRow() const { return m_activeRow; }
  /// Makes a data cell (1..columns, 1..rows) active; other addresses are ignored.
  void setActiveCell(int col, int row);

  // --- painting -------------------------------------------------------------
  /// Suspends painting until the matching resumeRedraw(); suspensions nest, so a routine
  /// that suspends inside another's batch does not resume it early. On the last resume
  /// the listeners hear of the gathered changes once. Use RedrawSuspended, not the pair.
  void suspendRedraw();
  void resumeRedraw();
  bool redraw() const { return m_suspended == 0; }

  // --- search and sort --------------------------------------------------------
  /// First row from `firstRow` to `lastRow` (both included, clamped) whose shown text in
  /// column `col` equals `text` exactly; -1 when none.
  int searchColumn(int col, int firstRow, int lastRow, const QString& text) const;
  /// Sorts rows firstRow..lastRow as whole rows (hidden columns, styles and tags travel
  /// with their row) by column `keyColumn`; numbers numerically, texts by code point,
  /// empty cells first when ascending. Equal keys keep their order.
  void sortRows(int firstRow, int lastRow, int keyColumn, SortOrder order);

  // --- spans --------------------------------------------------------------------
  /// Shows the cell (col,row) over `columns` x `rows` cells. A span starting at the same
  /// cell is replaced; a 1 x 1 span removes it.
  void addSpan(int col, int row, int columns, int rows);
  void removeSpan(int col, int row);
  void clearSpans();
  /// Spans as rectangles in grid addresses (x = column, y = row).
  const QList<QRect>& spans() const { return m_spans; }

  /// Bytes held by the grid's own storage (cells and style layers' sparse parts),
  /// excluding the text characters themselves.
  size_t storageBytes() const;

private:
  struct Cell {
    QString text;     ///< as written; null when the cell holds a plain number
    double number;    ///< NaN unless written as a number
  };
  struct RowMeta {
    float height = 0;
    bool hidden = false;
  };
  struct ColumnMeta {
    double width = 0;
    bool hidden = false;
  };

  static constexpr quint16 BoldBit = 0x8000;
  static constexpr Colour NoBorder = 0xFFFFFFFFu;

  bool inSheet(int col, int row) const
  {
    return col >= 1 && col <= m_cols && row >= 0 && row <= m_rows;
  }
  Cell& cellAt(int col, int row) { return m_cells[size_t(row) * size_t(m_cols) + size_t(col - 1)]; }
  const Cell& cellAt(int col, int row) const
  {
    return m_cells[size_t(row) * size_t(m_cols) + size_t(col - 1)];
  }
  quint16 internKind(const CellKind& kind);

  template <class T>
  void applyStyle(StyleLayer<T>& layer, const CellRange& range, const T& value);
  template <class F>
  void forEachLayer(F f);

  void cellsChanged(const CellRange& range);
  void cellsChanged(int col1, int row1, int col2, int row2);
  void structureChanged();
  void layoutChanged();
  void activeChanged();
  void clampActive();
  void truncateLayers();

  std::vector<Cell> m_cells;      // row-major, rows 0..m_rows, columns 1..m_cols
  std::vector<RowMeta> m_rowMeta; // rows 0..m_rows
  std::vector<ColumnMeta> m_colMeta; // columns 0..m_cols
  int m_cols = 0;
  int m_rows = 0;
  int m_rowsWithMeta = 0;

  std::vector<CellKind> m_kinds;  // [0] is the plain text kind
  quint64 m_stamp = 0;
  StyleLayer<quint16> m_kind{0};
  StyleLayer<bool> m_locked{false};
  StyleLayer<Colour> m_background{colours::White};
  StyleLayer<Colour> m_foreground{colours::Black};
  StyleLayer<quint8> m_align{0};
  StyleLayer<quint16> m_font{0};
  StyleLayer<Colour> m_border{NoBorder};
  StyleLayer<QString> m_tag{QString()};
  StyleLayer<QString> m_hint{QString()};
  StyleLayer<QString> m_hintReason{QString()};

  QList<QRect> m_spans;
  int m_activeCol = 0;
  int m_activeRow = 0;

  template <class F>
  void notify(F f)
  {
    for (GridListener* l : m_listeners)
      f(l);
  }

  std::vector<GridListener*> m_listeners;
  int m_suspended = 0;
  // Changes gathered while painting is suspended.
  bool m_pendingReset = false;
  bool m_pendingLayout = false;
  bool m_pendingActive = false;
  QRect m_pendingCells; // x = column, y = row
};

/// Suspends painting of a grid for the life of the guard, so that a batch of changes
/// reaches the view as one. Guards nest; resume() ends the suspension early (before a
/// notice that should find the rows drawn).
class RedrawSuspended {
public:
  explicit RedrawSuspended(Grid& grid) : m_grid(&grid) { grid.suspendRedraw(); }
  ~RedrawSuspended() { resume(); }
  void resume()
  {
    if (m_grid)
      std::exchange(m_grid, nullptr)->resumeRedraw();
  }
  RedrawSuspended(const RedrawSuspended&) = delete;
  RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
  Grid* m_grid;
};

} // namespace vcm
