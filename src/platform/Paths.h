#pragma once

#include <QString>

namespace vcm::paths {

/// The program's own folder (where the executable, image/ and ErrTxt/ live).
/// Tests may override it with VCM_PROGRAM_DIR.
QString programDir();

/// Path of `relative` inside the program folder.
QString inProgramDir(const QString& relative);

} // namespace vcm::paths
