#pragma once

#include <QString>

namespace vcm {

class RecordSet;

/// One DEAL_LIST row (a ledger entry or a split part) as the ledger reads it. Texts are
/// trimmed and a database NULL reads as empty text; numbers are the numeric value of
/// the column's text (0 for NULL or empty).
struct DealRecord {
  QString dealCd;
  QString dealCd2;
  double dealCd2Number = 0; ///< numeric value of DEAL_CD_2 (1 for the entry as registered)
  double daccGubun = 0;
  QString dealDt;
  QString dbusiCd;
  QString daccCd;
  QString dbankCd;
  QString dealSumm;
  QString dealCust;
  QString dealTarget;
  double dealInAmt = 0;
  double dealOutAmt = 0;
  QString dealGubun;
  double receiptDiv = 0;
  double transDiv = 0;

  /// Positions of the columns in a result set, resolved once per load so that reading
  /// thousands of rows does not look names up again.
  struct Layout {
    int comCd, dealMon, dealCd, dealCd2, daccGubun, dealDt, dbusiCd, daccCd, dbankCd, dealSumm,
        dealCust, dealTarget, dealInAmt, dealOutAmt, dealGubun, receiptDiv, transDiv;
    /// Throws RuntimeError (item not found) when the set lacks a column.
    static Layout of(const RecordSet& rs);
  };

  /// Reads the current row of `rs`.
  static DealRecord read(const RecordSet& rs, const Layout& layout);
};

} // namespace vcm
