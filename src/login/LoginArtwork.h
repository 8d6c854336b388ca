#pragma once

#include <QPixmap>
#include <QSize>

namespace vcm {

/// The login screen's own pictures: the background with the greeting and the ID and PW
/// labels, the LOGIN button and the two state pictures of the ID check box. Drawn in the
/// sizes the controls have on this screen.
class LoginArtwork {
public:
  /// Background of the whole client area; `idLabel` and `pwLabel` are the rectangles
  /// (pixels) left of the two text boxes where the labels go.
  static QPixmap background(QSize size, const QRect& idLabel, const QRect& pwLabel);
  static QPixmap loginButton(QSize size, bool pressed);
  static QPixmap checkPicture(QSize size, bool ticked);
};

} // namespace vcm
