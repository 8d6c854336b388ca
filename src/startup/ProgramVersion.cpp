#include "startup/ProgramVersion.h"

namespace vcm {

QString programVersionText()
{
  // Built from the numbers, so "1.0.57" can never come out as "1.0.057".
  return QStringLiteral("%1.%2.%3")
      .arg(VCM_VERSION_MAJOR)
      .arg(VCM_VERSION_MINOR)
      .arg(VCM_VERSION_PATCH);
}

} // namespace vcm
