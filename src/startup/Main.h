#pragma once

namespace vcm {

class StartupScreens;

/// The program's start-up, run once on the user-interface thread before any screen
/// exists: refuses a second instance, builds the secrets, gets this computer admitted,
/// opens the database, compares the published version and then shows the login screen
/// or hands over to the update screen; last it reads the server's date and closes the
/// connection. A MySQL refusal of this computer's address is registered once and the
/// sequence runs again from the secrets. Returns with no connection open.
void Main(StartupScreens& screens);

namespace startup {

inline constexpr const char* kAlreadyRunning = "[베트라Care]는 이미 실행중입니다.";
inline constexpr const char* kThirdServerQuestion = "3번 서버 맞어? ";

/// Ends the process with the already-running message when another instance holds the
/// program's lock.
void refuseSecondInstance();

/// Creates the ErrTxt folder in the program folder when it is missing.
void ensureErrorTextFolder();

} // namespace startup

} // namespace vcm
