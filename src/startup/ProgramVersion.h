#pragma once

#include <QString>

namespace vcm {

/// The running program's version as "major.minor.revision", each part in plain decimal
/// without leading zeros. Compared as text with the version published in the database.
QString programVersionText();

} // namespace vcm
