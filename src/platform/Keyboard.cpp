#include "platform/Keyboard.h"

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#elif defined(VCM_HAVE_X11)
#include <X11/XKBlib.h>
#endif

namespace vcm::keyboard {

bool capsLockOn()
{
#ifdef Q_OS_WIN
  return (GetKeyState(VK_CAPITAL) & 1) != 0;
#elif defined(VCM_HAVE_X11)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->display())
    return false;
  unsigned int state = 0;
  if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != Success)
    return false;
  return (state & 1u) != 0; // indicator 0 is Caps Lock
#else
  return false;
#endif
}

bool shiftDown()
{
#ifdef Q_OS_WIN
  return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
#else
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
#endif
}

} // namespace vcm::keyboard
