#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QRect>
#include <QString>

#include <functional>

class QWidget;

namespace vcm {

/// Makes the text fields of a screen as KoltRich controls, through the class identity
/// as the program binds to it. When the class is not registered the member gets one
/// notice (from the first attempt) and no further control is made: the screen then
/// refuses to open instead of showing a dozen notices.
class KoltRichFields {
public:
  struct Look {
    int maxLength = 0;
    bool centred = false;
    bool locked = false;
  };

  /// A field named `name` at `geometry` (pixels) in `parent`, white with a grey border;
  /// null once a creation has failed.
  IKoltRich* make(QWidget* parent, const QString& name, const QRect& geometry, const Look& look);

  bool failed() const { return m_failed; }

  /// Shows `text` in the field, keeping its alignment (a new text starts a new paragraph).
  static void setText(IKoltRich* field, const QString& text);

  /// The telephone filter on a field's typed characters; paste (22) and copy (3) pass.
  static void filterTelephoneKeys(IKoltRich* field);

  /// Calls `onFocus` each time the field gets the input focus.
  static void onFocusIn(IKoltRich* field, std::function<void()> onFocus);

private:
  bool m_failed = false;
};

} // namespace vcm
