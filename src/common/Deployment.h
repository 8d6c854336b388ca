#pragma once

#include "common/TransportSecurity.h"

#include <QHash>
#include <QString>

namespace vcm {

/// The per-installation deployment file. It holds recipes, not values: each secret is a
/// list of picks from three constant alphabets, assembled character by character at run
/// time. Tokens, separated by blanks: dN (digit N), lN (lower-case letter N, a = 0),
/// uN (letter N upper-cased), sN (special character N), and the literal tokens "." and ":".
/// A few plain numbers (db_port, ftp_port, http_port) may stand beside the recipes, and
/// the transport-security words: db_tls, ftp_tls, http_tls (off, preferred, required;
/// preferred when absent) and tls_ca (a CA file beside the deployment file, or the
/// SHA-256 fingerprint of the server certificate to pin).
class Deployment {
public:
  static constexpr const char* kDigits = "0123456789";
  static constexpr const char* kLetters = "abcdefghijklmnopqrstuvwxyz";
  static constexpr const char* kSpecials = "!@$%^*()_-~";

  /// Loads the file at `path`. Returns false with a Korean explanation in `error` when the
  /// file is missing, malformed, or (on POSIX) readable by group or others.
  bool load(const QString& path, QString* error);

  /// Where the program looks: VETRA_CARE_DEPLOY, else deploy.ini in
  /// the program folder.
  static QString defaultPath();

  /// Assembles the recipe stored under `key`, one character at a time. Empty when absent.
  QString assemble(const QString& key) const;

  /// A plain number stored under `key`, or `fallback`.
  int number(const QString& key, int fallback) const;

  bool has(const QString& key) const { return m_recipes.contains(key); }

  /// The transport-security settings (defaults for what the file does not name).
  const TransportSecurity& transportSecurity() const { return m_tls; }

  /// Assembles a recipe text. Returns false for an unknown token.
  static bool assembleRecipe(const QString& recipe, QString* out);

  /// Writes the recipe that assembles `value` (for tests and for preparing installations).
  static QString recipeFor(const QString& value);

private:
  QHash<QString, QString> m_recipes;
  QHash<QString, int> m_numbers;
  TransportSecurity m_tls;
};

} // namespace vcm
