#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace vcm {

/// A 24-bit colour as the screens write it, &HBBGGRR: R in the low byte, B in the high one.
/// Values from 0x80000000 up are system colour indexes (button face, window, window text);
/// the view resolves them against the palette.
using Colour = quint32;

namespace colours {
inline constexpr Colour White = 0xFFFFFF;
inline constexpr Colour Black = 0x000000;
inline constexpr Colour ButtonFace = 0x8000000F;
inline constexpr Colour Window = 0x80000005;
inline constexpr Colour WindowText = 0x80000008;

constexpr int red(Colour c) { return int(c & 0xFF); }
constexpr int green(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int blue(Colour c) { return int((c >> 16) & 0xFF); }
constexpr Colour fromRgb(int r, int g, int b)
{
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr bool isSystem(Colour c) { return (c & 0x80000000u) != 0; }
} // namespace colours

enum class CellType : quint8 { Text, Number, CheckBox, Button, ComboBox };

enum class HAlign : quint8 { General, Left, Centre, Right };
enum class VAlign : quint8 { Top, Centre, Bottom };

enum class SortOrder : quint8 { Ascending, Descending };

/// Everything that depends on the cell's type. Kinds are few and shared by whole columns,
/// so the grid keeps each distinct kind once and cells refer to it by index.
struct CellKind {
  CellType type = CellType::Text;
  int maxLength = 0;          ///< text cells; 0 means no limit
  double minimum = -1e15;     ///< number cells
  double maximum = 1e15;
  int decimals = 0;
  bool separator = true;      ///< number cells: "#,##0"
  int uncheckedPicture = 0;   ///< check-box cells: picture indexes of the image list, 0 none
  int checkedPicture = 0;
  QString caption;            ///< check-box text or button caption
  QStringList items;          ///< combo-box list

  bool operator==(const CellKind&) const = default;
};

/// A block of cells. Column or row -1 means "all": (-1, r) is the whole row r,
/// (c, -1) the whole data column c, (-1, -1) the whole sheet of data rows.
/// The header row 0 is addressed only explicitly.
struct CellRange {
  int col1 = -1;
  int row1 = -1;
  int col2 = -1;
  int row2 = -1;

  static CellRange cell(int col, int row) { return {col, row, col, row}; }
  static CellRange row(int row) { return {-1, row, -1, row}; }
  static CellRange rows(int first, int last) { return {-1, first, -1, last}; }
  static CellRange column(int col) { return {col, -1, col, -1}; }
  static CellRange columns(int first, int last) { return {first, -1, last, -1}; }
  static CellRange sheet() { return {}; }
  static CellRange block(int col1, int row1, int col2, int row2) { return {col1, row1, col2, row2}; }

  bool allColumns() const { return col1 < 0; }
  bool allRows() const { return row1 < 0; }
};

} // namespace vcm
