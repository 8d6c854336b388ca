#include "app/RegisterScreens.h"

#include "ledger/LedgerScreen.h"
#include "transfer/FileTransferScreen.h"

namespace vcm {

void registerScreens()
{
  registerLedgerScreen();
  registerFileTransferScreen();
}

} // namespace vcm
