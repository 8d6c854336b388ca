#include "ledger/LikePattern.h"

namespace vcm {

namespace {

/// Matches the bracket list starting after '[' at pattern[p]; sets `end` past ']'.
bool inList(const QString& pattern, qsizetype p, QChar c, qsizetype& end, bool& ok)
{
  bool negate = false;
  if (p < pattern.size() && pattern[p] == QLatin1Char('!')) {
    negate = true;
    ++p;
  }
  bool found = false;
  bool first = true;
  while (p < pattern.size() && (pattern[p] != QLatin1Char(']') || first)) {
    first = false;
    QChar lo = pattern[p];
    QChar hi = lo;
    if (p + 2 < pattern.size() && pattern[p + 1] == QLatin1Char('-') && pattern[p + 2] != QLatin1Char(']')) {
      hi = pattern[p + 2];
      p += 3;
    } else {
      ++p;
    }
    if (c >= lo && c <= hi)
      found = true;
  }
  ok = p < pattern.size();
  end = p + 1;
  return found != negate;
}

bool matchFrom(const QString& text, qsizetype t, const QString& pattern, qsizetype p)
{
  while (p < pattern.size()) {
    const QChar pc = pattern[p];
    if (pc == QLatin1Char('*')) {
      while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
      if (p == pattern.size())
        return true;
      for (qsizetype k = t; k <= text.size(); ++k)
        if (matchFrom(text, k, pattern, p))
          return true;
      return false;
    }
    if (t >= text.size())
      return false;
    const QChar tc = text[t];
    if (pc == QLatin1Char('?')) {
      ++p;
    } else if (pc == QLatin1Char('#')) {
      if (tc < QLatin1Char('0') || tc > QLatin1Char('9'))
        return false;
      ++p;
    } else if (pc == QLatin1Char('[')) {
      qsizetype end = 0;
      bool ok = false;
      const bool hit = inList(pattern, p + 1, tc, end, ok);
      if (!ok || !hit)
        return false;
      p = end;
    } else {
      if (pc != tc)
        return false;
      ++p;
    }
    ++t;
  }
  return t == text.size();
}

} // namespace

bool LikePattern::matches(const QString& text, const QString& pattern)
{
  return matchFrom(text, 0, pattern, 0);
}

} // namespace vcm
