#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QString>

class QTextEdit;

namespace vcm::test {

/// Points the class registry at a private file and registers the built library in it,
/// once per test run. Returns the library's path.
QString registerBuiltLibrary();

/// The path of the per-run registration file.
QString registryFile();

/// The inner text box of a control.
QTextEdit* innerBox(IKoltRich* control);

} // namespace vcm::test
