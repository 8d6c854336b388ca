#include "common/TextHelpers.h"

#include "common/ErrMsg.h"
#include "common/RuntimeError.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace vcm {

std::optional<double> leadingNumber(const QString& text)
{
  QString compact;
  compact.reserve(text.size());
  for (QChar c : text)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
        c != QLatin1Char('\r'))
      compact += c;

  // Longest prefix of the form [sign] digits [. digits] [(E|D) [sign] digits].
  qsizetype i = 0;
  const qsizetype n = compact.size();
  QString number;
  if (i < n && (compact[i] == QLatin1Char('+') || compact[i] == QLatin1Char('-')))
    number += compact[i++];
  qsizetype digits = 0;
  while (i < n && compact[i].isDigit() && compact[i].unicode() < 128) {
    number += compact[i++];
    ++digits;
  }
  if (i < n && compact[i] == QLatin1Char('.')) {
    number += compact[i++];
    while (i < n && compact[i].isDigit() && compact[i].unicode() < 128) {
      number += compact[i++];
      ++digits;
    }
  }
  if (digits == 0)
    return 0.0;
  if (i < n && (compact[i].toUpper() == QLatin1Char('E') || compact[i].toUpper() == QLatin1Char('D'))) {
    qsizetype j = i + 1;
    QString exponent = QStringLiteral("e");
    if (j < n && (compact[j] == QLatin1Char('+') || compact[j] == QLatin1Char('-')))
      exponent += compact[j++];
    qsizetype expDigits = 0;
    while (j < n && compact[j].isDigit() && compact[j].unicode() < 128) {
      exponent += compact[j++];
      ++expDigits;
    }
    if (expDigits > 0)
      number += exponent;
  }
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (!ok || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<double> g_NumVal(const QString& text)
{
  QString t = text.trimmed();
  t.remove(QLatin1Char(','));
  return leadingNumber(t);
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
