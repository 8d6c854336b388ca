#pragma once

class QWidget;

namespace vcm {

/// Twips (1/1440 inch) against pixels at a widget's logical resolution: 15 twips per
/// pixel at 96 dpi. The control keeps this to itself because it links nothing of the
/// program.
class Twips {
public:
  static constexpr double PerInch = 1440.0;

  static int toPixelsX(const QWidget* widget, double twips);
  static int toPixelsY(const QWidget* widget, double twips);
  static double fromPixelsX(const QWidget* widget, double pixels);
  static double fromPixelsY(const QWidget* widget, double pixels);
};

} // namespace vcm
