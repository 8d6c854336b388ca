#pragma once

#include <QString>

namespace vcm {

/// Part numbers (DEAL_CD_2) within one entry: "001" is the entry as first registered,
/// new split parts continue from the highest number stored.
class PartNumber {
public:
  /// The number after `highest` (the stored maximum, null when the entry has no part):
  /// "001" for none, else the numeric value plus one with at least three digits.
  static QString next(const QString& highest);

  /// Whether `partNo` fits the three characters of DEAL_CD_2; the server would cut a
  /// longer one silently ("1000" stored as "100", another part's number).
  static bool fits(const QString& partNo) { return partNo.size() <= 3; }
};

} // namespace vcm
