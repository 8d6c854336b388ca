#include "common/Session.h"

namespace vcm {

SessionState Session;

void SessionState::reset()
{
  *this = SessionState{};
}

} // namespace vcm
