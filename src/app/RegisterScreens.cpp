#include "app/RegisterScreens.h"

#include "ledger/LedgerScreen.h"

namespace vcm {

void registerScreens()
{
  registerLedgerScreen();
}

} // namespace vcm
