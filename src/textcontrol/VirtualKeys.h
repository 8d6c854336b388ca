#pragma once

#include <QKeyCombination>

class QKeyEvent;

namespace vcm {

/// The key numbers the screens' key handlers compare: virtual-key codes for keys,
/// character codes for typed characters, and the Shift/Ctrl/Alt mask.
class VirtualKeys {
public:
  static constexpr short ShiftMask = 1;
  static constexpr short CtrlMask = 2;
  static constexpr short AltMask = 4;

  /// Virtual-key code of the key pressed; 0 for keys that have none.
  static short keyCode(const QKeyEvent& event);

  /// Shift (1) | Ctrl (2) | Alt (4).
  static short shiftMask(Qt::KeyboardModifiers modifiers);
  static Qt::KeyboardModifiers modifiers(short shiftMask);

  /// Character code the key types: Enter 13, backspace 8, Esc 27, Ctrl+A..Ctrl+Z 1..26,
  /// otherwise the typed character. -1 when the key types nothing.
  static int charCode(const QKeyEvent& event);

  /// The Qt key (with the keypad modifier for the number pad) of a virtual-key code;
  /// Qt::Key_unknown when there is none.
  static QKeyCombination qtKey(short keyCode);
};

} // namespace vcm
