#pragma once

#include <QString>

namespace vcm {

/// Predefined roots of the settings store; the program only uses the current user's.
enum class RootKey { CurrentUser };
inline constexpr RootKey HKEY_CURRENT_USER_ROOT = RootKey::CurrentUser;

/// "Software\VETRA_CARE_MEMBER\", the settings key; subkeys Chk and Config follow it.
inline const QString SettingsKey = QStringLiteral("Software\\VETRA_CARE_MEMBER\\");

/// Stores `value` under `keyPath`\`name`, creating the key path as needed. An empty
/// value is stored as one blank (and `value` becomes " "). Returns true when stored.
bool Reg_SaveString(RootKey root, const QString& keyPath, const QString& name, QString& value);

/// Reads `keyPath`\`name`. Empty text when the key or value is missing, unreadable or
/// longer than 1024 bytes; a 32-bit number reads as its decimal text. Creates nothing.
QString Reg_GetString(RootKey root, const QString& keyPath, const QString& name);

/// Where the settings live: the registry path on Windows (VCM_SETTINGS_KEY names another
/// key below HKEY_CURRENT_USER\Software), the INI file elsewhere (VCM_SETTINGS_FILE
/// overrides it); the overrides are for tests and administrators.
QString settingsLocation();

} // namespace vcm
