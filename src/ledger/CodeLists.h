#pragma once

#include "common/db/RecordSet.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace vcm {

/// The ledger's three code lists, read once per screen opening and kept in memory:
/// Acc_List (accounts, in name order), Busi_List (businesses) and Bank_List (bank
/// accounts). Each is an in-memory record set with fixed columns that callers may
/// filter; beside them the lists keep code indexes so that a load of thousands of
/// entries resolves every name without a filter pass per row.
class CodeLists {
public:
  struct Account {
    QString code;
    int classNo = 0; ///< 1 income, otherwise expense
    QString name;
  };
  struct Business {
    QString code;
    QString name;
  };
  struct Bank {
    QString code;
    QString name;
    QString colour; ///< decimal colour number, "0" or empty for none
  };

  std::unique_ptr<RecordSet> Acc_List;
  std::unique_ptr<RecordSet> Busi_List;
  std::unique_ptr<RecordSet> Bank_List;

  /// Reads the three lists for a company on the open Session connection, replacing
  /// what was held. Throws RuntimeError; the lists read so far stay.
  void read(const QString& companyCode);

  /// Releases the lists (the screen unloads).
  void release();

  /// Accounts in list order (ACC_NM), as the picker shows them.
  const std::vector<Account>& accounts() const { return m_accounts; }

  /// The first list entry whose code equals `code` (ignoring case, as a record-set
  /// filter compares); null when there is none.
  const Account* account(const QString& code) const;
  const Business* business(const QString& code) const;
  const Bank* bank(const QString& code) const;

  /// Copies query rows into a fresh in-memory list with the given columns: texts
  /// trimmed, integers the numeric value of the text. Exposed for the tests.
  static std::unique_ptr<RecordSet> copyList(RecordSet& source,
                                             const std::vector<RecordSet::Column>& columns);

private:
  void index();

  std::vector<Account> m_accounts;
  std::vector<Business> m_businesses;
  std::vector<Bank> m_banks;
  QHash<QString, int> m_accountIndex;
  QHash<QString, int> m_businessIndex;
  QHash<QString, int> m_bankIndex;
};

} // namespace vcm
