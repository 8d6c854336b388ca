#include "mainwindow/Twips.h"

#include "platform/Ui.h"

#include <cmath>

namespace vcm {

namespace {
double safeDpi(double dpi)
{
  // A screen that reports no resolution is treated as the common 96 dpi.
  return dpi > 0.0 ? dpi : 96.0;
}
} // namespace

int twipsToPixels(int twips, double dpi)
{
  return static_cast<int>(std::lround(twips * safeDpi(dpi) / kTwipsPerInch));
}

int pixelsToTwips(int pixels, double dpi)
{
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / safeDpi(dpi)));
}

int twipsToPixels(int twips) { return twipsToPixels(twips, ui().screenDpi()); }

int pixelsToTwips(int pixels) { return pixelsToTwips(pixels, ui().screenDpi()); }

QRect twipsRect(int left, int top, int width, int height, double dpi)
{
  return QRect(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
               twipsToPixels(height, dpi));
}

QRect twipsRect(int left, int top, int width, int height)
{
  return twipsRect(left, top, width, height, ui().screenDpi());
}

QSize twipsSize(int width, int height)
{
  return QSize(twipsToPixels(width), twipsToPixels(height));
}

} // namespace vcm
