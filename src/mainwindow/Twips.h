#pragma once

#include <QRect>
#include <QSize>

namespace vcm {

/// Positions and sizes of the screens are kept in twips (1/1440 inch), as the layouts
/// were drawn; these helpers turn them into pixels of the screen the program runs on.
/// At 96 dots per inch one pixel is 15 twips. Every screen uses these helpers, so a
/// change of the screen's DPI scales all layouts alike.
inline constexpr double kTwipsPerInch = 1440.0;

/// Pixels for `twips` at `dpi` dots per inch, rounded to the nearest pixel.
int twipsToPixels(int twips, double dpi);

/// Twips for `pixels` at `dpi` dots per inch, rounded to the nearest twip.
int pixelsToTwips(int pixels, double dpi);

/// The same at the DPI of the installed user-interface services (Ui::screenDpi()).
int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

/// A rectangle given in twips (left, top, width, height) in pixels at the screen's DPI.
/// Each of the four values is converted on its own, as the layouts list them.
QRect twipsRect(int left, int top, int width, int height);
QRect twipsRect(int left, int top, int width, int height, double dpi);

/// A size given in twips, in pixels at the screen's DPI.
QSize twipsSize(int width, int height);

} // namespace vcm
