#pragma once

#include "business/KoltRichFields.h"

#include <QDialog>

class QPushButton;

namespace vcm {

/// What the two business screens share: a fixed-size dialog centred on the screen, with
/// KoltRich text fields that it refuses to open without.
class BusinessDialog : public QDialog {
protected:
  BusinessDialog(QWidget* parent, const QString& formName, const QString& caption,
                 int widthTwips, int heightTwips);

  /// `screen`, or null (deleting it) when its text fields could not be made.
  template <typename Screen> static Screen* usable(Screen* screen)
  {
    if (!screen->m_fields.failed())
      return screen;
    delete screen;
    return nullptr;
  }

  /// The "닫 기" button at the given twips rectangle: it closes the window, as the
  /// frame's close box does.
  QPushButton* addCloseButton(int left, int top, int width, int height);

  KoltRichFields m_fields;
};

} // namespace vcm
