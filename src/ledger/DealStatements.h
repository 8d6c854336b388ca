#pragma once

#include <QString>

namespace vcm {

/// What narrows the month's entries when loading: the selected search option
/// (1 account name, 2 summary, 3 counterpart, 4 amount), the income/expense option
/// (1 all, 2 income, 3 expense) and the search text as typed.
struct DealFilter {
  int searchOption = 1;
  int classOption = 1;
  QString searchText;
};

/// The values of one changed grid row as they are written to DEAL_LIST. Texts are the
/// trimmed cell texts as typed; the statements escape them.
struct DealWrite {
  QString dealCode;
  QString partNo;
  int classNo = 0;
  QString dealDate;
  QString busiCode;
  QString bankCode;
  QString account; ///< the first three characters of the account cell
  QString summary;
  QString customer;
  QString target;
  double income = 0;
  double expense = 0;
  int receipt = 0;
};

/// The SQL text of every statement the ledger sends, each made of lines joined by line
/// feeds. Every text that comes from the member or from a cell passes through g_SqlStr,
/// so an apostrophe or a backslash can neither break nor change a statement.
class DealStatements {
public:
  static QString accountList(const QString& companyCode);
  static QString businessList(const QString& companyCode);
  static QString bankList(const QString& companyCode);

  /// The month's entries with the filters that the database applies (the account-name
  /// search is applied while filling the grid).
  static QString dealList(const QString& companyCode, const QString& month, const DealFilter& filter);

  /// Deletes one saved entry by its key (code and part number as the grid shows them).
  static QString deleteEntry(const QString& companyCode, const QString& month, const QString& dealCode,
                             const QString& partNo);

  static QString update(const QString& companyCode, const QString& month, const DealWrite& row);
  static QString maxPartNo(const QString& companyCode, const QString& month, const QString& dealCode);
  /// Which of `partNos` of the entry are stored (DEAL_CD_2 of each).
  static QString storedParts(const QString& companyCode, const QString& month, const QString& dealCode,
                             const QStringList& partNos);
  static QString insert(const QString& companyCode, const QString& month, const DealWrite& row);
  /// Marks every entry of the month as sent to the service for closing.
  static QString closeMonth(const QString& companyCode, const QString& month);

  /// An amount as a plain decimal number without separators or exponent.
  static QString amount(double value);
};

} // namespace vcm
