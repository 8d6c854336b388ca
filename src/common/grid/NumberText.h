#pragma once

#include <QString>

namespace vcm {

/// Formats a number as the grid's number cells show it: thousands separated by ","
/// ("#,##0") when `separator` is set, `decimals` digits after ".".
QString formatGridNumber(double value, int decimals = 0, bool separator = true);

/// Reads a number the way a number cell accepts it: blanks and "," are ignored.
/// Returns false (and leaves `out` alone) for empty or non-numeric text.
bool parseGridNumber(const QString& text, double& out);

/// Plain decimal text of a number without separators, as a number cell's value reads.
QString plainGridNumber(double value, int decimals = 0);

/// A number for SQL text: plain decimal without separators or exponent, whole numbers
/// without a fraction, others with at most six decimals; not finite gives "0".
QString sqlNumber(double value);

} // namespace vcm
