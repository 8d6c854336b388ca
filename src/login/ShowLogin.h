#pragma once

namespace vcm {

/// Shows the login screen without waiting, centred on the screen; it deletes itself when
/// it closes. Start-up calls this once the session secrets and the connection string
/// are set, and then runs the event loop.
void showLoginScreen();

} // namespace vcm
