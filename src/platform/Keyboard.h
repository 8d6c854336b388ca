#pragma once

namespace vcm::keyboard {

/// True when the Caps Lock toggle of the keyboard is on (Windows: GetKeyState;
/// X11: the Xkb indicator state). False where the platform cannot tell.
bool capsLockOn();

/// True while a Shift key is held down.
bool shiftDown();

} // namespace vcm::keyboard
