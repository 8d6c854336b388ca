// The platform layer asks Windows itself: the keyboard state the system keeps for the
// thread, and the connected state the system reports.
#include "platform/ConnectedState.h"
#include "platform/Keyboard.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <wininet.h>

namespace {

/// Sets the thread's keyboard state as a key press would leave it.
void setKeys(bool capsToggled, bool shiftHeld)
{
  BYTE keys[256] = {};
  keys[VK_CAPITAL] = capsToggled ? 0x01 : 0x00;
  keys[VK_SHIFT] = shiftHeld ? 0x80 : 0x00;
  ASSERT_TRUE(SetKeyboardState(keys));
}

TEST(WindowsKeyboard, CapsLockAndShiftComeFromTheSystemsKeyState)
{
  const struct {
    bool caps, shift;
  } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  for (const auto& c : cases) {
    setKeys(c.caps, c.shift);
    EXPECT_EQ(vcm::keyboard::capsLockOn(), c.caps) << c.caps << c.shift;
    EXPECT_EQ(vcm::keyboard::shiftDown(), c.shift) << c.caps << c.shift;
  }
  setKeys(false, false);
}

TEST(WindowsConnectedState, ReportsWhatTheSystemReports)
{
  DWORD flags = 0;
  const bool connected = InternetGetConnectedState(&flags, 0) != FALSE;
  const vcm::ConnectedState state = vcm::internetConnectedState();
  EXPECT_EQ(state.connected, connected);
  EXPECT_EQ(state.flags & vcm::ConnectedState::Lan, int(flags & INTERNET_CONNECTION_LAN));
}

TEST(WindowsPaths, ProgramFolderIsTheExecutablesFolderWithADriveLetter)
{
  qunsetenv("VCM_PROGRAM_DIR");
  const QString dir = vcm::paths::programDir();
  EXPECT_EQ(dir, QCoreApplication::applicationDirPath());
  EXPECT_EQ(dir.mid(1, 2), QStringLiteral(":/")) << dir.toStdString();
  EXPECT_TRUE(QDir(dir).exists(QStringLiteral("platform_windows_test.exe")));
}

} // namespace
