#include "update/UpdateHandOver.h"

#include "update/UpdateScreen.h"

namespace vcm {

void openUpdateScreen()
{
  UpdateScreen screen;
  screen.exec();
}

} // namespace vcm
