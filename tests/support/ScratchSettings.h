#pragma once

#include <QString>

namespace vcm::test {

/// Points the settings store at an empty place of the test's own, named after `file`
/// (a path in the test's temporary folder): that INI file on POSIX, a registry key
/// below HKEY_CURRENT_USER\Software\VCM_TEST on Windows. Anything stored there
/// before is dropped.
void useScratchSettings(const QString& file);

/// Drops what the test stored and points the store back at its usual place.
void dropScratchSettings();

} // namespace vcm::test
