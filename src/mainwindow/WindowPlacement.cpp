#include "mainwindow/WindowPlacement.h"

#include "mainwindow/Twips.h"

namespace vcm {

WindowPlacement WindowPlacement::forScreen(QSize screenPixels, double dpi)
{
  WindowPlacement p;
  if (!(screenPixels.width() > 1280 && screenPixels.height() > 900)) {
    p.maximised = true;
    return p;
  }
  const int screenW = pixelsToTwips(screenPixels.width(), dpi);
  const int screenH = pixelsToTwips(screenPixels.height(), dpi);
  const int top = (screenH - kHeightTwips) / 2;
  const int left = (screenW - kWidthTwips) / 2;
  p.twips = QRect(left, top, kWidthTwips, kHeightTwips);
  p.pixels = twipsRect(left, top, kWidthTwips, kHeightTwips, dpi);
  return p;
}

} // namespace vcm
