#pragma once

#include "common/export/ExportSheet.h"

class QIODevice;

namespace vcm {

/// Writes an ExportSheet as an Excel 97-2003 workbook (a BIFF8 "Workbook" stream in a
/// compound document) with the one sheet "List".
class XlsWriter {
public:
  /// Rows and columns one sheet of the format holds.
  static constexpr int MaxRows = 65536;
  static constexpr int MaxColumns = 256;

  /// False when the sheet does not fit the format (nothing is written then) or the
  /// device refuses a write.
  static bool write(const ExportSheet& sheet, QIODevice& out);
};

} // namespace vcm
