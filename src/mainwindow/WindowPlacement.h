#pragma once

#include <QRect>
#include <QSize>

namespace vcm {

/// Where the main window opens. A screen larger than 1280 x 900 pixels gets a window of
/// 19995 x 13500 twips centred on it; a smaller screen (or exactly 1280 x 900) gets the
/// window maximised, since the fixed size would not fit.
struct WindowPlacement {
  bool maximised = false;
  /// The outer window rectangle in twips and in pixels (empty when maximised).
  QRect twips;
  QRect pixels;

  static constexpr int kWidthTwips = 19995;
  static constexpr int kHeightTwips = 13500;

  /// The placement for a primary screen of `screenPixels` at `dpi`.
  static WindowPlacement forScreen(QSize screenPixels, double dpi);
};

} // namespace vcm
