#pragma once

#include <QString>

namespace vcm {

/// The running program's version as "major.minor.revision", each part in plain decimal
/// without leading zeros. Compared as text with the version published in the database.
/// On Windows it is the FILEVERSION of the running program's version resource, so a
/// program built with another resource is that other version.
QString programVersionText();

} // namespace vcm
