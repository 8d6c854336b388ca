#pragma once

#include <QString>
#include <QStringList>

namespace vcm {

/// Qt's own texts in Korean: the standard buttons, the file dialogs, the context menus of
/// text fields and the month and day names of calendars. Those come from Qt, not from our
/// screens, so they follow Qt's translation file and the default locale.
namespace translations {

/// The translation file of Qt's base modules for Korean.
inline constexpr char QtBaseKorean[] = "qtbase_ko.qm";

/// Where the file is looked for, in order: the translations/ folder beside the program
/// (shipped with it, for systems without Qt's translations), then Qt's own folder.
QStringList searchFolders();

/// The path of the file in the first of `folders` that holds it; empty when none does.
QString find(const QStringList& folders);

/// Makes Korean (South Korea) the default locale and installs Qt's Korean translation
/// from the first folder that has it. Call once the application object exists and before
/// any window is made. Returns the file installed, empty when none was found (the texts
/// of Qt's dialogs then stay English; the locale is Korean all the same).
QString installKorean();

} // namespace translations
} // namespace vcm
