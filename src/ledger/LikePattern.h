#pragma once

#include <QString>

namespace vcm {

/// The pattern match the ledger's searches use: "*" any run of characters, "?" one
/// character, "#" one digit, "[abc]" / "[a-z]" one character of a list, "[!abc]" one
/// character not in it. Case-sensitive. A malformed list (no closing bracket) matches
/// nothing rather than failing.
class LikePattern {
public:
  static bool matches(const QString& text, const QString& pattern);
};

} // namespace vcm
