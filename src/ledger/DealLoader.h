#pragma once

#include "ledger/CodeLists.h"

#include <QHash>
#include <QString>

namespace vcm {

class Grid;
class RecordSet;
struct DealRecord;

/// Fills sprDeal from the month's query result: the visibility gate on TRANS_DIV, the
/// account-name search, and every column of a row with names resolved from the code
/// lists and the account picker, never from the database.
class DealLoader {
public:
  enum class Result {
    NoRows,         ///< the query returned nothing
    NotReleased,    ///< no entry has TRANS_DIV 1 or 9: the month is not shown
    Loaded,         ///< every row read (some may have been skipped by the search)
    AccountMissing, ///< a row's account is not in the picker: the load stopped there
  };

  struct Outcome {
    Result result = Result::NoRows;
    bool sentForClosing = false; ///< some entry has TRANS_DIV 1
  };

  /// `picker` must already hold the accounts (row 1 empty).
  DealLoader(Grid& deal, const Grid& picker, const CodeLists& lists);

  /// Appends the rows of `rs` to the (empty) grid with painting suspended. A non-empty
  /// `accountSearch` shows only rows whose account name contains it.
  Outcome load(RecordSet& rs, const QString& accountSearch);

private:
  bool passesAccountSearch(const DealRecord& r, const QString& search) const;
  /// Fills row `row`; false when its account is missing from the picker (the columns
  /// after the account stay empty then).
  bool fillRow(int row, DealRecord& r); // moves r's texts into the grid

  Grid& m_deal;
  const Grid& m_picker;
  const CodeLists& m_lists;
  QHash<QString, int> m_pickerRows; ///< account code -> first picker row holding it
  // Texts every row of a month repeats, made once per load instead of once per row.
  QHash<QString, QString> m_accountTexts; ///< account code -> "code.name" as the picker shows it
  QHash<QString, double> m_bankColours;   ///< bank colour text -> its number
  // Entries of one bank account and business follow each other: remember the last lookup.
  QString m_lastBankCode, m_lastBusiCode;
  const CodeLists::Bank* m_lastBank = nullptr;
  const CodeLists::Business* m_lastBusi = nullptr;
  bool m_haveBank = false, m_haveBusi = false;
};

} // namespace vcm
