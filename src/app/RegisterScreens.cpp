#include "app/RegisterScreens.h"

#include "ledger/LedgerScreen.h"
#include "transfer/FileTransferScreen.h"

namespace vcm {

void registerScreens()
{
  registerFileTransferScreen();
  registerLedgerScreen();
}

} // namespace vcm
