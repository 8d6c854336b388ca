#pragma once

#include "common/grid/Grid.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace vcm::test {

/// A small list like the ledger's: date, summary (Korean), amount (number cells with
/// separator), a hidden code column; coloured rows, widths, one tall row.
void fillSampleList(Grid& grid);

/// Everything about a grid an export could disturb, one line per cell and column.
QStringList gridSnapshot(const Grid& grid);

/// What the independent reader (xlrd for .xls, openpyxl for .xlsx) sees in a workbook;
/// an empty object when it cannot read it (the reason goes to the test log).
QJsonObject readWorkbook(const QString& path, int rows = 8);

/// Where the host (the Linux python) finds `path`: the path itself, or on Windows under
/// Wine its name in the host's file system.
QString hostPath(const QString& path);

/// Runs the workbook reader (read_workbook.py) on the host with `args`; what it printed,
/// or a null string on failure.
QString runWorkbookReader(const QStringList& args);

} // namespace vcm::test
