#pragma once

#include "common/grid/Grid.h"

#include <QDate>
#include <QString>
#include <QStringList>

// CMake target: vcm_export (QtCore only; link it to call these routines).

namespace vcm {

/// Saves the list a grid shows as a spreadsheet file the member chooses.
///
/// The sheet "List" gets the title block (title text merged over the first two rows,
/// bold 13, centred), the column captions of the grid's header row on
/// `captionBackColour`, then the grid's rows in grid order, followed by one empty column;
/// every used cell has a thin &H800000 border, and with `whiteSheet` every cell but the
/// caption row is white. Hidden columns stay hidden, number cells are written as numbers
/// with their "#,##0" format, column widths follow the grid's.
///
/// The file name is asked with g_SaveFile_Dlg ("YYMMDD_" + cleaned list name + ".xls"
/// proposed); an existing file is overwritten only after the member agrees. A name ending
/// in ".xlsx" writes an Office Open XML workbook with the same layout, anything else
/// an Excel 97-2003 workbook. The file is written beside its target and renamed into
/// place, so a failure never leaves a damaged file. Every notice (no data, success,
/// failure, too many rows, run-time error) goes through the UI services.
///
/// The grid is only read: it is exactly as before after success, failure and errors.
///
/// `listName` names the file, `titleText` fills the title block. `captionBackColour` is a
/// colour as text ("&HF8E7F1" or a decimal number). `titleOption` 1 (title block and one
/// caption row) and `freezeOption` 0 are the values the screens pass and the only ones
/// supported; others are treated as these.
void g_EXCEL_CH(const Grid& grid, const QString& listName, const QString& titleText,
                const QString& captionBackColour, qint16 titleOption, bool whiteSheet,
                qint16 freezeOption);

/// The save-file dialog. Offers the file type `pattern` (for example "*.xls") and the
/// types in `morePatterns`, titled `title`, proposing `proposedName`. Returns the chosen
/// path with `extension` appended unless it already ends with it (case-sensitive) or with
/// the extension of one of `morePatterns`; empty text when the member cancels or the path
/// is 225 characters or longer (that is refused with a notice).
QString g_SaveFile_Dlg(const QString& proposedName, const QString& pattern, const QString& title,
                       const QString& extension, const QStringList& morePatterns = {});

/// The file name the save dialog proposes: `today` as "YYMMDD", "_", the list name with
/// "[" and "]" turned into "(" and ")", a double quote into an apostrophe, and "/" (like
/// every other character a file name cannot hold) into a blank, then ".xls".
QString proposedExportName(const QString& listName, const QDate& today);

} // namespace vcm
