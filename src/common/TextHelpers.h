#pragma once

#include <QString>
#include <optional>

namespace vcm {

/// The leading number of a text, read as the old client's Val did: blanks, tabs and line
/// feeds anywhere are ignored; a sign, digits, one decimal point and an exponent (E or D)
/// are read up to the first other character. No leading number gives 0; a number too
/// large for a double gives nothing.
std::optional<double> leadingNumber(const QString& text);

/// The lenient number of a text: trimmed, every comma removed, then its leading number.
/// An empty result (overflow) counts as 0 in arithmetic.
std::optional<double> g_NumVal(const QString& text);

/// g_NumVal with the empty value read as 0.
double numVal(const QString& text);

/// Escapes a text for use inside an apostrophe-quoted SQL literal on the MySQL server:
/// every ' becomes '' and every \ becomes \\.
QString g_SqlStr(const QString& text);

/// Numeric value of a setting text: its leading number ("1", " 1", "1.0" read as 1;
/// blank or "yes" as 0). Callers compare it exactly.
double settingNumber(const QString& text);

/// The open-file dialog. Returns, for one file, its full path; for several, the folder
/// and then each file name; every part followed by a NUL and the list ending with an
/// extra NUL. Empty text when cancelled.
QString g_OpenFile_Dlg(const QString& typeName, const QString& pattern, const QString& title);

/// Splits a g_OpenFile_Dlg result into full paths.
QStringList splitOpenFileResult(const QString& result);

} // namespace vcm
