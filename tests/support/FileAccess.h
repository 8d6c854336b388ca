#pragma once

#include <QString>

namespace vcm::test {

/// Gives `path` an access list of its owner only (POSIX mode 600; on Windows the owner,
/// SYSTEM and Administrators), or with `everyoneReads` one that lets every user read it.
/// True on success.
bool restrictToOwner(const QString& path, bool everyoneReads = false);

} // namespace vcm::test
