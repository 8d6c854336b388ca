#pragma once

namespace vcm::deal {

/// Columns of the ledger grid sprDeal. Every ledger routine addresses cells by these.
enum Column : int {
  Check = 1,        ///< selection mark, check box (also in the header)
  DealDate = 2,     ///< DEAL_DT
  Spacer1 = 3,
  DealCode = 4,     ///< DEAL_CD
  PartNo = 5,       ///< DEAL_CD_2
  Source = 6,       ///< "○" on the entry as first registered
  Spacer2 = 7,
  ClassName = 8,    ///< 수입 / 지출
  BankName = 9,
  BusiName = 10,
  Account = 11,     ///< "code.name"
  AccountButton = 12,
  Spacer3 = 13,
  Summary = 14,
  Customer = 15,
  InAmount = 16,
  OutAmount = 17,
  Spacer4 = 18,
  Branch = 19,      ///< DEAL_GUBUN
  Receipt = 20,     ///< check box
  Target = 21,
  Spacer5 = 22,
  BusiCode = 23,
  BankCode = 24,
  ClassNo = 25,     ///< DACC_GUBUN as a number
  Changed = 26,     ///< "1": changed since loading
  NewPart = 27,     ///< "1": split part not yet in the database
  RowColour = 28,   ///< BANK_COLOR
  SplitIn = 29,     ///< split source: income before the first split
  SplitOut = 30,    ///< split source: expense before the first split
  SplitSource = 31, ///< unsaved part: DEAL_CD + DEAL_CD_2 of its source row
};

inline constexpr int ColumnCount = 31;

} // namespace vcm::deal

namespace vcm::picker {

/// Columns of the account picker sprCbo_Acc. Row 1 is the empty choice.
enum Column : int {
  ClassName = 1, ///< 수입 / 지출
  Code = 2,      ///< ACC_CD
  Name = 3,      ///< ACC_NM
  ClassNo = 4,   ///< ACC_GUBUN as text
};

inline constexpr int ColumnCount = 4;

} // namespace vcm::picker
