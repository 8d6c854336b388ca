#include "app/RegisterScreens.h"

#include "business/BusinessInfoScreen.h"
#include "ledger/LedgerScreen.h"

namespace vcm {

void registerScreens()
{
  registerLedgerScreen();
  registerBusinessScreens();
}

} // namespace vcm
