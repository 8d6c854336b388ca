#pragma once

#include "common/grid/Grid.h"
#include "ledger/DealSearch.h"

#include <QString>

#include <functional>

namespace vcm::found {

/// Columns of the search popup's grid spr.
enum Column : int {
  DealDate = 1,
  Account = 2,
  Summary = 3,
  Customer = 4,
  ClassName = 5, ///< 수입 / 지출
  InAmount = 6,
  OutAmount = 7,
  DealCode = 8,  ///< hidden
  LedgerRow = 9, ///< hidden: the row of the entry in the ledger grid
};

inline constexpr int ColumnCount = 9;

} // namespace vcm::found

namespace vcm {

/// The search popup 회계_거래리스트_거래검색Arr without its widgets: the list of found
/// entries in the grid spr, the selected row and the label lblAcc. It never reads the
/// database; its one result is the ledger row it writes into the opening ledger's
/// Search_Row, and only when that ledger opened it.
///
/// The opener sets Call_Frm and ledgerSearchRow, calls Set_Search_List and shows the
/// popup modally; cmdSel_Click and cmdClose_Click end it through `unload`.
class SearchPopup {
public:
  static const QString FormName; ///< "회계_거래리스트_거래검색Arr"
  static const QString Caption;  ///< "거래내역 검색"

  /// Sets up the grid's nine columns; the dialog owns the grid, tests give a plain one.
  explicit SearchPopup(Grid& spr);

  Grid& spr;
  QString Call_Frm;
  /// The text of lblAcc: the selected entry's account and date in parentheses.
  QString lblAcc;
  /// The opening ledger's Search_Row.
  qint32* ledgerSearchRow = nullptr;
  /// Closes the popup.
  std::function<void()> unload;
  /// Called when lblAcc changed.
  std::function<void()> changed;

  /// Fills the grid from the entries and selects row 1; the second argument is not used.
  void Set_Search_List(const SearchList& entries, int unused);
  void spr_Click(qint32 col, qint32 row);
  void spr_DblClick(qint32 col, qint32 row);
  /// After the member sorted by a header: row 1 is selected again.
  void spr_AfterUserSort(qint32 col);
  /// Up, Down and Enter. The popup moves the selection itself, so the key is always
  /// swallowed and the selection moves by exactly one row.
  void spr_KeyDown(int& key, int shift);
  void cmdSel_Click();
  void cmdClose_Click();

  qint32 selectedRow() const { return Sel_Row; }

private:
  bool openedByLedger() const;
  void selectRow(qint32 row);

  qint32 Sel_Row = 0;
};

} // namespace vcm
