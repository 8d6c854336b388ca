#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace vcm {

/// The pictures of the main window, drawn at start-up in the size the controls have on
/// this screen, so they stay sharp at any DPI. Labels are Korean, in Nanum Gothic.
class MainArtwork {
public:
  /// What a picture shows next to its label.
  enum class Glyph { New, Edit, Save, Delete, Search, Print, Excel, Stop, Close, Cancel,
                     Ledger, File, Business };

  /// The colour of the menu band the go-to and work buttons sit on.
  static QColor menuBandColor();
  /// The window's own background (the quick-bar band and the frame's client area).
  static QColor windowColor();

  /// A label font of `pixelSize`, bold when asked.
  static QFont labelFont(int pixelSize, bool bold = true);

  /// Work button picture: glyph above the label, white on the menu band. `pressed`
  /// gives the second picture; `working` the amber look of a button in its working state.
  static QPixmap workButton(const QString& label, Glyph glyph, QSize size, bool pressed,
                            bool working = false);

  /// Go-to button picture: a larger glyph above the label.
  static QPixmap gotoButton(const QString& label, Glyph glyph, QSize size);

  /// Quick-bar button: a tab with the screen's label; the highlighted one is filled.
  static QPixmap quickButton(const QString& label, QSize size, bool highlighted);

  /// The small close button drawn over a quick button.
  static QPixmap quickClose(QSize size);

  /// Check-box picture, ticked or not.
  static QPixmap checkPicture(QSize size, bool ticked);

  /// A plain neutral square, for image-list slots no screen shows.
  static QPixmap blank(QSize size);

private:
  static void drawGlyph(class QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink);
};

} // namespace vcm
