#include "textcontrol/VirtualKeys.h"

#include <QKeyEvent>

#include <utility>

namespace vcm {

namespace {

struct KeyPair {
  int qtKey;
  short keyCode;
};

// Keys outside the letter and digit ranges. The first entry of a code is the one the
// reverse mapping picks.
constexpr KeyPair NamedKeys[] = {
    {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},    {Qt::Key_Hangul, 21},
    {Qt::Key_Hangul_Hanja, 25}, {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34},    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},       {Qt::Key_Left, 37},        {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},      {Qt::Key_Down, 40},        {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},      {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},       {Qt::Key_Menu, 93},        {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Punctuation by its unshifted key on the usual layout.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},      {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},     {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},   {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits report the digit key.
    {Qt::Key_ParenRight, 48}, {Qt::Key_Exclam, 49},      {Qt::Key_At, 50},
    {Qt::Key_NumberSign, 51}, {Qt::Key_Dollar, 52},      {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},  {Qt::Key_Asterisk, 56},
    {Qt::Key_ParenLeft, 57},
};

// Number pad keys other than the digits.
constexpr KeyPair KeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
    {Qt::Key_Enter, 13},
};

short lookup(const KeyPair* begin, const KeyPair* end, int qtKey)
{
  for (auto* p = begin; p != end; ++p)
    if (p->qtKey == qtKey)
      return p->keyCode;
  return 0;
}

} // namespace

short VirtualKeys::keyCode(const QKeyEvent& event)
{
#ifdef Q_OS_WIN
  // Windows reports the virtual key itself.
  if (event.nativeVirtualKey() > 0 && event.nativeVirtualKey() < 256)
    return short(event.nativeVirtualKey());
#endif
  const int key = event.key();
  if (event.modifiers() & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
      return short(96 + key - Qt::Key_0);
    if (const short code = lookup(std::begin(KeypadKeys), std::end(KeypadKeys), key))
      return code;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return short(key);
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return short(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return short(112 + key - Qt::Key_F1);
  return lookup(std::begin(NamedKeys), std::end(NamedKeys), key);
}

short VirtualKeys::shiftMask(Qt::KeyboardModifiers modifiers)
{
  short mask = 0;
  if (modifiers & Qt::ShiftModifier)
    mask |= ShiftMask;
  if (modifiers & Qt::ControlModifier)
    mask |= CtrlMask;
  if (modifiers & Qt::AltModifier)
    mask |= AltMask;
  return mask;
}

Qt::KeyboardModifiers VirtualKeys::modifiers(short shiftMask)
{
  Qt::KeyboardModifiers result;
  if (shiftMask & ShiftMask)
    result |= Qt::ShiftModifier;
  if (shiftMask & CtrlMask)
    result |= Qt::ControlModifier;
  if (shiftMask & AltMask)
    result |= Qt::AltModifier;
  return result;
}

int VirtualKeys::charCode(const QKeyEvent& event)
{
  const int key = event.key();
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool alt = mods & Qt::AltModifier;
  switch (key) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return alt ? -1 : 13;
  case Qt::Key_Backspace:
    return alt ? -1 : 8;
  case Qt::Key_Escape:
    return 27;
  default:
    break;
  }
  if (ctrl && !alt) {
    // Computed from the key, not the event text: platforms differ in whether they
    // deliver the control character as text.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
      return key - Qt::Key_A + 1;
    if (key == Qt::Key_BracketLeft)
      return 27;
    if (key == Qt::Key_Backslash)
      return 28;
    if (key == Qt::Key_BracketRight)
      return 29;
    return -1;
  }
  const QString text = event.text();
  if (text.isEmpty() || !text.at(0).isPrint())
    return -1;
  // Alt alone types nothing; Ctrl+Alt is AltGr on some layouts and does type.
  if (alt && !ctrl)
    return -1;
  return text.at(0).unicode();
}

QKeyCombination VirtualKeys::qtKey(short keyCode)
{
  if (keyCode >= 'A' && keyCode <= 'Z')
    return QKeyCombination(Qt::Key(keyCode));
  if (keyCode >= '0' && keyCode <= '9')
    return QKeyCombination(Qt::Key(keyCode));
  if (keyCode >= 96 && keyCode <= 105)
    return QKeyCombination(Qt::KeypadModifier, Qt::Key(Qt::Key_0 + keyCode - 96));
  if (keyCode >= 112 && keyCode <= 135)
    return QKeyCombination(Qt::Key(Qt::Key_F1 + keyCode - 112));
  for (const KeyPair& p : KeypadKeys)
    if (p.keyCode == keyCode && keyCode != 13)
      return QKeyCombination(Qt::KeypadModifier, Qt::Key(p.qtKey));
  for (const KeyPair& p : NamedKeys)
    if (p.keyCode == keyCode)
      return QKeyCombination(Qt::Key(p.qtKey));
  return QKeyCombination(Qt::Key_unknown);
}

} // namespace vcm
