#pragma once

namespace vcm {

class Grid;
class CodeLists;

/// Shapes the ledger's two grids: columns, headers, widths, hidden columns, cell kinds
/// and locks of sprDeal, and the four columns of the account picker sprCbo_Acc.
class DealGridModel {
public:
  /// 31 columns, no rows, every cell locked.
  static void setupDeal(Grid& deal);
  /// Column 1 becomes a check-box column with a check box in its header; column 20 a
  /// check-box column without one.
  static void setupCheckColumns(Grid& deal);
  static void setupPicker(Grid& picker);
  /// Refills the picker: the empty row 1, then one row per account in list order.
  static void fillPicker(Grid& picker, const CodeLists& lists);
};

} // namespace vcm
