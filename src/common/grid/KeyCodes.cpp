#include "common/grid/KeyCodes.h"

#include <QKeyEvent>

namespace vcm {

int virtualKeyCode(const QKeyEvent* event)
{
#ifdef Q_OS_WIN
  if (event->nativeVirtualKey() != 0)
    return int(event->nativeVirtualKey());
#endif
  const int key = event->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return key; // same codes as upper-case ASCII
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    if (event->modifiers() & Qt::KeypadModifier)
      return 0x60 + (key - Qt::Key_0);
    return key;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return 0x70 + (key - Qt::Key_F1);
  switch (key) {
  case Qt::Key_Backspace: return 8;
  case Qt::Key_Tab:
  case Qt::Key_Backtab: return 9;
  case Qt::Key_Return:
  case Qt::Key_Enter: return 13;
  case Qt::Key_Shift: return 16;
  case Qt::Key_Control: return 17;
  case Qt::Key_Alt: return 18;
  case Qt::Key_Pause: return 19;
  case Qt::Key_CapsLock: return 20;
  case Qt::Key_Escape: return 27;
  case Qt::Key_Space: return 32;
  case Qt::Key_PageUp: return 33;
  case Qt::Key_PageDown: return 34;
  case Qt::Key_End: return 35;
  case Qt::Key_Home: return 36;
  case Qt::Key_Left: return 37;
  case Qt::Key_Up: return 38;
  case Qt::Key_Right: return 39;
  case Qt::Key_Down: return 40;
  case Qt::Key_Insert: return 45;
  case Qt::Key_Delete: return 46;
  // Shifted digits of the main keyboard report the digit key.
  case Qt::Key_Exclam: return '1';
  case Qt::Key_At: return '2';
  case Qt::Key_NumberSign: return '3';
  case Qt::Key_Dollar: return '4';
  case Qt::Key_Percent: return '5';
  case Qt::Key_AsciiCircum: return '6';
  case Qt::Key_Ampersand: return '7';
  case Qt::Key_Asterisk: return (event->modifiers() & Qt::KeypadModifier) ? 0x6A : '8';
  case Qt::Key_ParenLeft: return '9';
  case Qt::Key_ParenRight: return '0';
  case Qt::Key_Plus: return (event->modifiers() & Qt::KeypadModifier) ? 0x6B : 0xBB;
  case Qt::Key_Semicolon:
  case Qt::Key_Colon: return 0xBA;
  case Qt::Key_Equal: return 0xBB;
  case Qt::Key_Comma:
  case Qt::Key_Less: return 0xBC;
  case Qt::Key_Minus:
  case Qt::Key_Underscore: return 0xBD;
  case Qt::Key_Period:
  case Qt::Key_Greater: return 0xBE;
  case Qt::Key_Slash:
  case Qt::Key_Question: return 0xBF;
  case Qt::Key_QuoteLeft:
  case Qt::Key_AsciiTilde:
  case Qt::Key_Dead_Grave:
  case Qt::Key_Dead_Tilde: return 0xC0;
  case Qt::Key_BracketLeft:
  case Qt::Key_BraceLeft: return 0xDB;
  case Qt::Key_Backslash:
  case Qt::Key_Bar: return 0xDC;
  case Qt::Key_BracketRight:
  case Qt::Key_BraceRight: return 0xDD;
  case Qt::Key_Apostrophe:
  case Qt::Key_QuoteDbl: return 0xDE;
  default: return 0;
  }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
  int s = 0;
  if (modifiers & Qt::ShiftModifier)
    s |= 1;
  if (modifiers & Qt::ControlModifier)
    s |= 2;
  if (modifiers & Qt::AltModifier)
    s |= 4;
  return s;
}

} // namespace vcm
