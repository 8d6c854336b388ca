#include "ledger/InitialConsonants.h"

namespace vcm {

namespace {

constexpr char16_t kFirstSyllable = 0xAC00;
constexpr char16_t kLastSyllable = 0xD7A3;
constexpr int kSyllablesPerInitial = 21 * 28; // vowels x finals

/// The 19 initial consonants in syllable order, as compatibility letters.
constexpr char16_t kInitials[19] = {u'ㄱ', u'ㄲ', u'ㄴ', u'ㄷ', u'ㄸ', u'ㄹ', u'ㅁ', u'ㅂ', u'ㅃ', u'ㅅ',
                                    u'ㅆ', u'ㅇ', u'ㅈ', u'ㅉ', u'ㅊ', u'ㅋ', u'ㅌ', u'ㅍ', u'ㅎ'};

bool isInitial(char16_t c)
{
  for (char16_t i : kInitials)
    if (i == c)
      return true;
  return false;
}

bool matchesAt(const QString& text, qsizetype at, const QString& query)
{
  for (qsizetype k = 0; k < query.size(); ++k) {
    const QChar q = query[k];
    const QChar t = text[at + k];
    if (t != q && !(isInitial(q.unicode()) && InitialConsonants::initialOf(t) == q))
      return false;
  }
  return true;
}

} // namespace

QChar InitialConsonants::initialOf(QChar c)
{
  const char16_t u = c.unicode();
  if (u < kFirstSyllable || u > kLastSyllable)
    return c;
  return QChar(kInitials[(u - kFirstSyllable) / kSyllablesPerInitial]);
}

bool InitialConsonants::hasInitials(const QString& text)
{
  for (QChar c : text)
    if (isInitial(c.unicode()))
      return true;
  return false;
}

bool InitialConsonants::contains(const QString& text, const QString& query)
{
  for (qsizetype at = 0; at + query.size() <= text.size(); ++at)
    if (matchesAt(text, at, query))
      return true;
  return false;
}

} // namespace vcm
