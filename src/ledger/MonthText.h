#pragma once

#include <QString>

namespace vcm {

/// The ledger's month texts "YYYY.MM" and date texts "YYYY.MM.DD".
class MonthText {
public:
  /// True when the text, full stops read as hyphens and trimmed, is a real calendar
  /// month "YYYY-MM" or date "YYYY-MM-DD" (2024.13 and 2024.02.30 are not).
  static bool isValid(const QString& text);
  /// The month before a date "YYYY.MM.DD" as "YYYY.MM"; empty for a text that is not a date.
  static QString previousMonth(const QString& date);
  /// The month `months` calendar months after "YYYY.MM" (before for a negative count),
  /// as "YYYY.MM"; empty for a text that is not a month.
  static QString shifted(const QString& month, int months);
};

} // namespace vcm
