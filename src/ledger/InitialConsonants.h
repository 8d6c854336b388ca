#pragma once

#include <QString>

namespace vcm {

/// Search by Korean initial consonants (초성): a member who types ㅅㄱㅂ means 생계비.
/// Each initial consonant of a query stands for any syllable that starts with it; every
/// other character of the query stands for itself, so 기ㅌ finds 기타운영비.
class InitialConsonants {
public:
  /// The initial consonant of a Hangul syllable as a compatibility letter (ㄱ for 각);
  /// any other character unchanged.
  static QChar initialOf(QChar c);
  /// True when the text holds at least one letter that can begin a syllable (ㄱ..ㅎ).
  static bool hasInitials(const QString& text);
  /// True when `query` occurs in `text` as a run of characters, its initial consonants
  /// matching syllables that begin with them.
  static bool contains(const QString& text, const QString& query);
};

} // namespace vcm
