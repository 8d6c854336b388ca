#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace vcm {

class Grid;

/// What the ledger does with the account picker sprCbo_Acc (row 1 the empty choice,
/// accounts from row 2): the quick entry of an account by one digit, the filter by
/// the typed text and the account text a picker row gives the ledger's account cell.
class AccountPicker {
public:
  /// The account names a digit typed alone into the account cell of `row` stands for:
  /// 0..8 fixed names (two for 2 and 7), 9 the account of the row above (`accountAbove`
  /// from its fifth character, blanks removed). Nothing for other texts and for 9 on row 1.
  static std::optional<QStringList> quickNames(const QString& typed, int row, const QString& accountAbove);

  /// The first picker row whose name without blanks equals one of `names`; -1 when none.
  static int findName(const Grid& picker, const QStringList& names);

  /// "code.name" of a picker row, empty when either is empty (the empty row).
  static QString accountText(const Grid& picker, int row);

  /// The part of an account cell the picker is filtered by: a leading three-digit code
  /// and the full stop after it are dropped.
  static QString filterText(const QString& accountCell);

  /// True when an account name passes the filter `text`: a like-match of "*text*", or,
  /// when the text holds initial consonants, the initial-consonant match.
  static bool nameMatches(const QString& name, const QString& text);

  struct Filtered {
    int shown = 0;   ///< rows left visible
    int onlyRow = 0; ///< the one visible row when shown is 1
  };
  /// Hides every row whose name does not pass `text` (an empty text shows every row).
  static Filtered filter(Grid& picker, const QString& text);

  /// Shows every row again.
  static void showAll(Grid& picker);

  /// The first row not hidden; 0 when every row is hidden.
  static int firstShownRow(const Grid& picker);
};

} // namespace vcm
