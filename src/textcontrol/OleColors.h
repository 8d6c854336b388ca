#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QColor>

class QPalette;

namespace vcm {

/// Conversion between the screens' colour numbers (0x00BBGGRR, or 0x800000nn for a
/// system colour) and Qt colours. System colours resolve against the given palette.
class OleColors {
public:
  static constexpr OleColor White = 0xFFFFFF;
  static constexpr OleColor LightGrey = 0xE0E0E0;
  static constexpr OleColor Window = 0x80000005;
  static constexpr OleColor WindowText = 0x80000008;

  static QColor toColor(OleColor color, const QPalette& palette);
  /// The plain RGB number of a colour (never a system colour).
  static OleColor fromColor(const QColor& color);
};

} // namespace vcm
