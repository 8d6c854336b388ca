#include "update/UpdateHandOver.h"

namespace vcm {

void openUpdateScreen()
{
  // The download screen comes with its own work item; until then the hand-over opens
  // nothing and start-up goes on to read the server's date.
}

} // namespace vcm
