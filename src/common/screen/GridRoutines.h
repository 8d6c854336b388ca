#pragma once

#include "common/grid/Grid.h"

#include <QString>

namespace vcm {

// Grid routines the list screens share. They take the Grid itself (not its view), so the
// screens' logic can run them without a window; a GridView shows the result through
// its grid().

/// Reads a colour written as "&HBBGGRR" (an optional trailing "&" allowed) or as a
/// decimal number. False, leaving `out` alone, for anything else.
bool parseColourText(const QString& text, Colour& out);

/// Turns the data rows of column `col` into check boxes with the standard pictures
/// (image 4 unchecked, image 3 checked). With `header`, the header cell (col, 0) becomes
/// a check box too, with back colour `colourText` (a decimal colour number or &H... text;
/// an unreadable text leaves the colour alone) and the caption `caption`.
/// Painting is suspended meanwhile and resumed at the end.
void g_Spr_Chk_Col(Grid& grid, int col, bool header, const QString& colourText,
                   const QString& caption);

/// A click on a check-box column: makes (col, row) active; a data cell reading 0 (or
/// empty) becomes "1", any other "0". On the header (row 0): when its value is "0" every
/// data row and the header become "1", otherwise "0" (an unset header counts as not "0").
void g_Spr_Click_Color(Grid& grid, int col, int row);

/// Highlights a row: the whole sheet goes white (text black with `whiteText`), (col, row)
/// becomes active unless `row` is already the active row, and the active row gets
/// `colour` (text white with `whiteText`). Costs the same however many rows the grid has.
void g_Spr_Row_Color(Grid& grid, int row, Colour colour, int col, bool whiteText);

} // namespace vcm
