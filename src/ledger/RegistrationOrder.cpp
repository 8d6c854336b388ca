#include "ledger/RegistrationOrder.h"

#include "common/grid/Grid.h"
#include "ledger/DealColumns.h"

#include <QSet>

namespace vcm {

bool RegistrationOrder::broken(const Grid& deal)
{
  if (deal.rowCount() < 1)
    return false;
  // Whole codes are compared: a code that is the tail of another ("01" in "001") is a
  // different account and must not count as seen.
  QSet<QString> ended;
  QString previous = deal.text(deal::BankCode, 1);
  for (int r = 2; r <= deal.rowCount(); ++r) {
    const QString code = deal.text(deal::BankCode, r);
    if (code == previous)
      continue;
    if (ended.contains(code))
      return true;
    ended.insert(previous);
    previous = code;
  }
  return false;
}

} // namespace vcm
