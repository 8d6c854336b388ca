#pragma once

#include "common/export/ExportSheet.h"

class QIODevice;

namespace vcm {

/// Writes an ExportSheet as an Office Open XML workbook (.xlsx) with the one sheet
/// "List", the same layout the .xls gets, through libxlsxwriter.
class XlsxWriter {
public:
  static constexpr int MaxRows = 1048576;
  static constexpr int MaxColumns = 16384;

  /// False when the sheet does not fit the format or the workbook cannot be written.
  static bool write(const ExportSheet& sheet, QIODevice& out);
};

} // namespace vcm
