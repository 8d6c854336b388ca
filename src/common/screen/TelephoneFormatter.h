#pragma once

#include <QString>

namespace vcm {

/// What to do with a character typed into a telephone field.
struct TelephoneKeyResult {
  enum class Action {
    PassThrough, ///< the field inserts the key as usual
    Swallow,     ///< the key is dropped
    Replace,     ///< the field's text becomes `text`, the caret goes to its end, the key is dropped
  };
  Action action = Action::PassThrough;
  QString text;

  bool operator==(const TelephoneKeyResult&) const = default;
};

/// Hyphenates a Korean telephone number while it is typed: area codes (02-, 031-),
/// mobile prefixes (010-) and 050x numbers get their hyphens as the digits arrive.
/// `key` is the typed character code (8 is backspace); the selection is the field's
/// before the key. A pure function of its inputs, so the whole rule table is testable.
TelephoneKeyResult formatTelephoneKey(const QString& text, int selectionStart, int selectionLength,
                                      int key);

} // namespace vcm
