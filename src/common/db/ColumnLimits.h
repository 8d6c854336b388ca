#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace vcm {

class Connection;

/// The size of one text column as the server reports it. CHAR and VARCHAR columns are
/// counted in characters (a Hangul syllable is one), the TEXT kinds in bytes of the
/// column's character set (euckr: a Hangul syllable is two).
struct ColumnLimit {
  qint64 size = 0;
  bool inBytes = false;

  /// Length of `text` in the column's own measure.
  qint64 lengthOf(const QString& text) const;
  bool fits(const QString& text) const { return lengthOf(text) <= size; }
};

/// The sizes of the text columns of the session's database, read from
/// information_schema in one query the first time a caller needs them and kept for the
/// rest of the process. A non-strict server cuts a longer text to the column's size
/// without a word; callers compare what the member typed with these sizes before any
/// statement is sent, so a text is either stored whole or refused.
class ColumnLimits {
public:
  /// The session's sizes; reads them on `connection` when not read yet.
  static const ColumnLimits& of(Connection& connection);

  /// The session's sizes, read on the session's open connection, or else on one opened
  /// (g_Open_MainConn) for the one read and closed again.
  static const ColumnLimits& session();

  /// Forgets the sizes read (tests that change the schema).
  static void forget();

  /// The size of `table`.`column` (names as in the schema, any case); none when the
  /// column is unknown or not a text column.
  std::optional<ColumnLimit> limit(const QString& table, const QString& column) const;

  /// The refusal text for `text` typed into the field `label` and stored in
  /// `table`.`column`, or a null text when it fits (or the column is unknown).
  QString refusal(const QString& label, const QString& text, const QString& table,
                  const QString& column) const;

  void insert(const QString& table, const QString& column, ColumnLimit limit);

private:
  QHash<QString, ColumnLimit> m_limits;  // "TABLE.COLUMN", upper case
};

/// Refusal text for a text of `length` in a field named `label` whose column holds
/// `limit`: two sentences, the field and its limit first.
QString lengthRefusalText(const QString& label, const ColumnLimit& limit, qint64 length);

} // namespace vcm
