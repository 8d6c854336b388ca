#pragma once

namespace vcm {

/// Tells the main window how to open the screens it hosts (the ledger as its child).
/// Called once before the login screen can open the main window.
void registerScreens();

} // namespace vcm
