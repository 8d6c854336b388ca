#pragma once

#include <QList>
#include <QString>

namespace vcm {

/// One row of the change request table: what the member may ask to change.
struct ChangeItem {
  enum class Kind {
    Text,      ///< txtBase_CH(field)
    Masked,    ///< mskBase_CH(field)
    Telephone, ///< txtTel_CH(field)
    Address,   ///< mskBase_CH(field) postcode, txtBase_CH(line1) and txtBase_CH(line2)
    Contract,  ///< the options opt_ConDiv_CH(1) and (3)
  };

  QString caption;  ///< chkWrite_Com(i)
  QString saveField; ///< its Tag: the COM_LIST column
  int rowTop = 0;   ///< twips
  Kind kind = Kind::Text;
  int field = 0;    ///< index of the new-value field (and of the current one)
  int maxLength = 0;
  QString mask;     ///< of a masked field, in the masked edit's notation
  bool centred = false;
  // Address rows only: the two line fields and their columns.
  int line1 = 0;
  int line2 = 0;
  QString line1Field;
  QString line2Field;
};

/// The 18 rows chkWrite_Com(0..17), in index order.
const QList<ChangeItem>& changeItems();

/// Input mode of txtBase_CH(index) when it gets the focus: 2 alphanumeric for the codes,
/// the mail address and the credentials, 1 Hangul for names and addresses.
short inputModeFor(int txtBaseIndex);

} // namespace vcm
