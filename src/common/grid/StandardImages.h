#pragma once

#include <QList>
#include <QPixmap>

namespace vcm {

/// The program's shared image list (the main window's imgMain), addressed by the same
/// indexes the screens use. Grids look up their check-box pictures here. The pictures
/// the shared routines rely on are drawn in code on first use, so the list works before
/// (and without) the main window; the main window can add or replace pictures.
class StandardImages {
public:
  enum Index : int {
    GridChecked = 3,        ///< check-box cell, checked
    GridUnchecked = 4,      ///< check-box cell, unchecked
    PictureBoxChecked = 9,  ///< pictured check box, checked
    PictureBoxUnchecked = 10, ///< pictured check box, unchecked
  };

  /// The picture at `index`; a null pixmap when there is none. Needs a GUI application.
  static QPixmap picture(int index);
  static void setPicture(int index, const QPixmap& pixmap);
  /// Indexes of the pictures drawn in code, for the main window's image list.
  static QList<int> drawnIndexes();
};

} // namespace vcm
