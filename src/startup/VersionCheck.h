#pragma once

#include <QString>

namespace vcm {

/// True when the published version, trimmed, differs from the program's version in any
/// way: older, newer, or written differently ("1.0.057").
bool updateDue(const QString& publishedVersion, const QString& programVersion);

/// The installer size from the version table's FILE_SIZE text: trimmed, read as a number
/// (empty text reads 0), rounded to a whole number. Throws RuntimeError (overflow) when
/// it does not fit a 32-bit signed integer.
qint32 installerSize(const QString& fileSizeText);

/// The server's NOW() value as "YYYY.MM.DD". Throws RuntimeError (type mismatch) when
/// the text holds no date.
QString serverDateText(const QString& nowText);

} // namespace vcm
