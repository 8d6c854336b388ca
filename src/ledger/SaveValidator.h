#pragma once

#include <QString>

namespace vcm {

class ColumnLimits;
class Grid;

/// The checks a save makes before writing anything: every changed row (column 26 set),
/// in grid order, must name an account the picker knows (code and name alike), carry
/// exactly one non-zero amount, and agree with its account's class; an income row may
/// not carry the receipt mark; and every typed text must be storable in the server's code page.
class SaveValidator {
public:
  struct Result {
    int changedRows = 0;
    int failedRow = 0; ///< 0 when every changed row passed
    QString message;   ///< row number followed by the reason, as shown

    bool ok() const { return failedRow == 0; }
  };

  /// Stops at the first failing row.
  static Result check(const Grid& deal, const Grid& picker);

  /// Every typed text of the changed rows against the size of its column (the server
  /// would cut a longer one without a word). Stops at the first failing row.
  static Result checkLengths(const Grid& deal, const ColumnLimits& limits);

  /// The reason a row fails, empty when it passes. Exposed for the tests.
  static QString rowFailure(const Grid& deal, const Grid& picker, int row);

private:
  static QString accountOrAmountFailure(const Grid& deal, const Grid& picker, int row);
};

} // namespace vcm
