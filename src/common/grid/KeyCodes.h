#pragma once

#include <Qt>

class QKeyEvent;

namespace vcm {

/// Key codes in the grid's key events are the Windows virtual-key codes the screens
/// compare with (13 Enter, 27 Escape, 32 Space, 38 Up, 40 Down, 192 backquote, 65 "A"
/// ...), so screen logic reads the same on every platform. 0 when the key has none.
int virtualKeyCode(const QKeyEvent* event);

/// Shift state bits as the key events carry them: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);

} // namespace vcm
