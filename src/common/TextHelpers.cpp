#include "common/TextHelpers.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <charconv>
#include <cmath>

namespace vcm {

namespace {

bool isIgnoredBlank(char16_t c)
{
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

/// Reads the leading number in one pass without allocating: every amount of every loaded
/// row goes through here, so it must stay cheap. Blanks (and, for g_NumVal, commas) are
/// skipped wherever they stand.
std::optional<double> parseLeading(QStringView text, bool skipCommas)
{
  char buffer[400];
  int len = 0;
  const auto ignored = [&](char16_t c) { return isIgnoredBlank(c) || (skipCommas && c == u','); };
  qsizetype i = 0;
  const qsizetype n = text.size();
  const auto next = [&]() -> char16_t {
    while (i < n && ignored(text[i].unicode()))
      ++i;
    return i < n ? text[i].unicode() : u'\0';
  };
  const auto put = [&](char c) {
    if (len < static_cast<int>(sizeof buffer) - 1)
      buffer[len++] = c;
  };
  char16_t c = next();
  if (c == u'+' || c == u'-') {
    put(static_cast<char>(c));
    ++i;
    c = next();
  }
  int digits = 0;
  bool tooLong = false;
  const auto readDigits = [&] {
    while ((c = next()) >= u'0' && c <= u'9') {
      if (len >= static_cast<int>(sizeof buffer) - 8)
        tooLong = true;
      put(static_cast<char>(c));
      ++digits;
      ++i;
    }
  };
  readDigits();
  // Whole amounts are by far the most common input: read them without the general parser.
  if (c != u'.' && c != u'e' && c != u'E' && c != u'd' && c != u'D' && digits > 0 && digits <= 15) {
    const int start = (buffer[0] == '-' || buffer[0] == '+') ? 1 : 0;
    qint64 whole = 0;
    for (int k = start; k < len; ++k)
      whole = whole * 10 + (buffer[k] - '0');
    return buffer[0] == '-' ? -static_cast<double>(whole) : static_cast<double>(whole);
  }
  if (c == u'.') {
    put('.');
    ++i;
    readDigits();
  }
  if (digits == 0)
    return 0.0;
  if (tooLong)
    return std::nullopt; // hundreds of digits: beyond any amount; treat as overflow
  if (c == u'e' || c == u'E' || c == u'd' || c == u'D') {
    const qsizetype mark = i;
    const int markLen = len;
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
    if (expDigits == 0) {
      i = mark;
      len = markLen;
    }
  }
  // from_chars ignores the process locale (a decimal comma would break strtod) and
  // takes no leading '+'.
  const char* first = buffer[0] == '+' ? buffer + 1 : buffer;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(first, buffer + len, value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as 0, overflow has no value.
    bool hugeExponent = false;
    for (const char* p = first; p < buffer + len; ++p)
      if (*p == 'e')
        hugeExponent = p + 1 < buffer + len && p[1] != '-';
    if (hugeExponent || digits > 300)
      return std::nullopt;
    return 0.0;
  }
  if (ec != std::errc() || !std::isfinite(value))
    return std::nullopt;
  return value;
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
