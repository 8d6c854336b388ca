#include "app/RegisterScreens.h"

#include "business/BusinessInfoScreen.h"
#include "ledger/LedgerScreen.h"
#include "transfer/FileTransferScreen.h"

namespace vcm {

void registerScreens()
{
  registerFileTransferScreen();
  registerLedgerScreen();
  registerBusinessScreens();
}

} // namespace vcm
