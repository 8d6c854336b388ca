#pragma once

#include "common/grid/Grid.h"

#include <QHashFunctions>
#include <QList>
#include <QString>

namespace vcm {

/// Look of one sheet cell. Colours are resolved &HBBGGRR values (no system colours).
struct SheetStyle {
  Colour fontColour = colours::Black;
  Colour fill = colours::White;
  quint16 fontSize10 = 90; ///< tenths of a point
  bool bold = false;
  HAlign hAlign = HAlign::General;
  VAlign vAlign = VAlign::Centre;
  /// Number format: -1 general, otherwise "#,##0" (or "0" without separator) with
  /// that many decimals.
  qint8 decimals = -1;
  bool separator = true;

  bool operator==(const SheetStyle&) const = default;
  /// The number format text, empty for general.
  QString numberFormat() const;
};

size_t qHash(const SheetStyle& style, size_t seed = 0);

/// The sheet an export writes, read straight from a grid that it never changes:
/// sheet rows 0 and 1 hold the title (merged over every column), row 2 the grid's column
/// captions, rows from 3 on the grid's data rows; one empty column follows the grid's
/// last. Every cell has a thin border of BorderColour. Cells are produced on demand, one
/// at a time, so an export holds no copy of the grid.
class ExportSheet {
public:
  static constexpr int TitleRows = 3;
  static constexpr Colour BorderColour = 0x800000;
  /// Longest cell text a workbook holds; longer texts are cut.
  static constexpr int MaxTextLength = 32767;
  static constexpr double TitleRowHeight = 18;
  static constexpr double DefaultRowHeight = 13.5;
  static constexpr double DefaultColumnWidth = 9;
  static constexpr quint16 DefaultFontSize10 = 90;

  // How the sheet prints: landscape on A4, every column on one page wide (as many pages
  // down as the rows need), the title and caption rows repeated at the top of every page
  // and frozen above the rows that scroll.
  static constexpr int PaperA4 = 9;        ///< the paper-size number both formats use
  static constexpr int RepeatedRows = TitleRows;
  static constexpr double SideMarginInches = 0.4;
  static constexpr double TopMarginInches = 0.6;
  static constexpr double HeaderMarginInches = 0.3;

  struct Cell {
    enum Type { Blank, Text, Number };
    Type type = Blank;
    QString text;
    double number = 0;
    SheetStyle style;
  };

  ExportSheet(const Grid& grid, const QString& title, Colour captionBack, bool whiteSheet);

  int rowCount() const { return m_grid.rowCount() + TitleRows; }
  int columnCount() const { return m_grid.columnCount() + 1; }

  /// Sheet cell at `row`, `col` (both from 0) into `out`, reusing its storage.
  void cell(int row, int col, Cell& out) const;

  /// Width in character units: the grid's, widened where a number or a date, code or
  /// other text without blanks or wide characters would not fit (cut, or shown as ####).
  double columnWidth(int col) const;
  bool isColumnHidden(int col) const;
  /// Height in points.
  double rowHeight(int row) const;
  bool isRowHidden(int row) const;

  const QString& title() const { return m_title; }
  /// Last column of the merged title block (it starts at column 0 and spans rows 0-1).
  int titleLastColumn() const { return columnCount() - 1; }

private:
  /// Character units the widest compact value of each grid column needs; 0 for none.
  void measureCompactValues();

  const Grid& m_grid;
  QList<int> m_compactWidth; ///< per grid column, index 0 for column 1
  QString m_title;
  Colour m_captionBack;
  bool m_whiteSheet;
};

/// A resolved colour: system colours (button face, window, window text) become the
/// values a standard desktop shows; `fallback` stands for unknown system colours.
Colour resolveColour(Colour colour, Colour fallback);

} // namespace vcm
