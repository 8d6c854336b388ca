#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QSettings>
#include <QString>

#include <memory>

class QTextEdit;

namespace vcm::test {

/// Registers the built library once per test run: on Windows in the current user's
/// registry, as an installation does; elsewhere in a private file. Returns its path.
QString registerBuiltLibrary();

/// The class registry the library registered itself in.
std::unique_ptr<QSettings> openRegistry();

/// The inner text box of a control.
QTextEdit* innerBox(IKoltRich* control);

} // namespace vcm::test
