#include "common/screen/GridRoutines.h"

#include "common/Session.h"

namespace vcm {

namespace {

constexpr int PictureChecked = 3;
constexpr int PictureUnchecked = 4;

} // namespace

bool parseColourText(const QString& text, Colour& out)
{
  const QString t = text.trimmed();
  bool ok = false;
  qlonglong v = 0;
  if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
    QString hex = t.mid(2);
    if (hex.endsWith(QLatin1Char('&')))
      hex.chop(1);
    v = hex.toLongLong(&ok, 16);
  } else {
    v = t.toLongLong(&ok, 10);
  }
  if (!ok || v < 0 || v > 0xFFFFFFFFLL)
    return false;
  out = Colour(v);
  return true;
}

void g_Spr_Chk_Col(Grid& grid, int col, bool header, const QString& colourText,
                   const QString& caption)
{
  grid.setRedraw(false);
  grid.setCheckBoxCells(CellRange::column(col), PictureUnchecked, PictureChecked);
  if (header) {
    const CellRange cell = CellRange::cell(col, 0);
    grid.setCheckBoxCells(cell, PictureUnchecked, PictureChecked, caption);
    Colour colour = 0;
    if (parseColourText(colourText, colour))
      grid.setBackground(cell, colour);
  }
  grid.setRedraw(true);
}

void g_Spr_Click_Color(Grid& grid, int col, int row)
{
  Session.CurrentProcedure = QStringLiteral("g_Spr_Click_Color");
  grid.setActiveCell(col, row);
  if (row != 0) {
    grid.setText(col, row, grid.number(col, row) == 0 ? QStringLiteral("1") : QStringLiteral("0"));
    return;
  }
  const QString mark = grid.value(col, 0) == QLatin1String("0") ? QStringLiteral("1")
                                                                 : QStringLiteral("0");
  RedrawSuspended quiet(grid); // one redraw for the whole column
  for (int r = 1; r <= grid.rowCount(); ++r)
    grid.setText(col, r, mark);
  grid.setText(col, 0, mark);
}

void g_Spr_Row_Color(Grid& grid, int row, Colour colour, int col, bool whiteText)
{
  // It shares the click routine's procedure name: error notices name that one.
  Session.CurrentProcedure = QStringLiteral("g_Spr_Click_Color");
  RedrawSuspended quiet(grid);
  grid.setBackground(CellRange::sheet(), colours::White);
  if (whiteText)
    grid.setForeground(CellRange::sheet(), colours::Black);
  if (grid.activeRow() != row)
    grid.setActiveCell(col, row);
  const int active = grid.activeRow();
  if (active < 1)
    return;
  grid.setBackground(CellRange::row(active), colour);
  if (whiteText)
    grid.setForeground(CellRange::row(active), colours::White);
}

} // namespace vcm
