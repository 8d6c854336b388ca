#include "common/TextHelpers.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace vcm {

namespace {

bool isIgnoredBlank(char16_t c)
{
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

/// Roughly the decimal order of magnitude of a number text ("123.4e5" gives 8), enough to
/// tell an overflow from an underflow. The exponent saturates: its size is what counts.
long long magnitude(const char* first, const char* last)
{
  long long order = 0;
  bool significant = false, afterPoint = false;
  const char* p = first;
  for (; p < last && *p != 'e'; ++p) {
    if (*p == '.')
      afterPoint = true;
    else if (!afterPoint && (significant || *p != '0'))
      ++order; // a digit of the whole part
    else if (afterPoint && !significant)
      --order; // a fraction digit up to the first significant one
    significant = significant || (*p >= '1' && *p <= '9');
  }
  if (p == last)
    return order;
  ++p;
  const bool negative = p < last && *p == '-';
  if (p < last && (*p == '-' || *p == '+'))
    ++p;
  long long exponent = 0;
  for (; p < last; ++p)
    exponent = std::min(exponent * 10 + (*p - '0'), 1'000'000'000LL);
  return order + (negative ? -exponent : exponent);
}

/// Reads the leading number in one pass: every amount of every loaded row goes through
/// here, so it must stay cheap. Blanks (and, for g_NumVal, commas) are skipped wherever
/// they stand. The number may be any length; it is read whole, as strtod would read it.
std::optional<double> parseLeading(QStringView text, bool skipCommas)
{
  QVarLengthArray<char, 64> buffer;
  const auto ignored = [&](char16_t c) { return isIgnoredBlank(c) || (skipCommas && c == u','); };
  qsizetype i = 0;
  const qsizetype n = text.size();
  const auto next = [&]() -> char16_t {
    while (i < n && ignored(text[i].unicode()))
      ++i;
    return i < n ? text[i].unicode() : u'\0';
  };
  const auto put = [&](char c) { buffer.append(c); };
  char16_t c = next();
  bool negative = false;
  if (c == u'+' || c == u'-') {
    negative = c == u'-';
    ++i;
    c = next();
  }
  int digits = 0;
  const auto readDigits = [&] {
    while ((c = next()) >= u'0' && c <= u'9') {
      put(static_cast<char>(c));
      ++digits;
      ++i;
    }
  };
  readDigits();
  // Whole amounts are by far the most common input: read them without the general parser.
  if (c != u'.' && c != u'e' && c != u'E' && c != u'd' && c != u'D' && digits > 0 && digits <= 15) {
    qint64 whole = 0;
    for (const char d : buffer)
      whole = whole * 10 + (d - '0');
    return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
  }
  if (c == u'.') {
    put('.');
    ++i;
    readDigits();
  }
  if (digits == 0)
    return 0.0;
  if (c == u'e' || c == u'E' || c == u'd' || c == u'D') {
    const qsizetype mark = i;
    const qsizetype markLen = buffer.size();
    put('e');
    ++i;
    c = next();
    if (c == u'+' || c == u'-') {
      put(static_cast<char>(c));
      ++i;
    }
    int expDigits = 0;
    while ((c = next()) >= u'0' && c <= u'9') {
      put(static_cast<char>(c));
      ++expDigits;
      ++i;
    }
    if (expDigits == 0) { // "1e" is 1
      i = mark;
      buffer.resize(markLen);
    }
  }
  // from_chars ignores the process locale (a decimal comma would break strtod).
  const char* first = buffer.constData();
  const char* last = first + buffer.size();
  double value = 0;
  const std::errc ec = std::from_chars(first, last, value).ec;
  if (ec == std::errc::result_out_of_range)
    return magnitude(first, last) > 0 ? std::nullopt : std::optional<double>(0.0); // overflow, underflow
  if (ec != std::errc() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

} // namespace

std::optional<double> leadingNumber(const QString& text)
{
  return parseLeading(text, false);
}

std::optional<double> g_NumVal(const QString& text)
{
  // Trimming first and removing commas changes nothing that the one pass does not do:
  // blanks and commas are skipped wherever they stand.
  return parseLeading(text, true);
}

double numVal(const QString& text)
{
  return g_NumVal(text).value_or(0.0);
}

QString g_SqlStr(const QString& text)
{
  QString out = text;
  out.replace(QLatin1Char('\''), QStringLiteral("''"));
  out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  return out;
}

double settingNumber(const QString& text)
{
  return leadingNumber(text).value_or(0.0);
}

QString g_OpenFile_Dlg(const QString& typeName, const QString& pattern, const QString& title)
{
  try {
    // Qt reads the patterns between the parentheses, separated by blanks.
    QString qtPattern = pattern;
    qtPattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString filter = typeName + QLatin1Char('(') + qtPattern + QLatin1Char(')');
    const QStringList files = ui().openFileNames(title, filter, true);
    if (files.isEmpty())
      return QString();
    const QChar nul(QChar::Null);
    QString result;
    if (files.size() == 1) {
      result = QDir::toNativeSeparators(files.first()) + nul;
    } else {
      result = QDir::toNativeSeparators(QFileInfo(files.first()).absolutePath()) + nul;
      for (const QString& f : files)
        result += QFileInfo(f).fileName() + nul;
    }
    result += nul;
    if (result.size() > 4096)
      throw RuntimeError(20476, QStringLiteral("선택한 파일 이름이 너무 깁니다."));
    return result;
  } catch (const RuntimeError& e) {
    g_Err_Msg(e, QStringLiteral("Function"));
    return QString();
  }
}

QStringList splitOpenFileResult(const QString& result)
{
  QStringList parts = result.split(QChar(QChar::Null), Qt::SkipEmptyParts);
  if (parts.size() <= 1)
    return parts;
  const QString folder = parts.takeFirst();
  QStringList out;
  for (const QString& name : parts)
    out << QDir::toNativeSeparators(QDir(QDir::fromNativeSeparators(folder)).filePath(name));
  return out;
}

} // namespace vcm
