#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace vcm {

/// A record-set filter of the form  COLUMN = 'value'  joined with AND / OR, with
/// parentheses for grouping. AND binds tighter than OR. Values are quoted with
/// apostrophes (a doubled apostrophe stands for one); bare numbers are accepted too.
/// Text comparison ignores case, as the old record sets did.
class RecordFilter {
public:
  /// Looks up a column's text for the current row; returns false for an unknown column.
  using Lookup = std::function<bool(const QString& column, QString* value)>;

  /// Parses `expression`. Throws RuntimeError for a malformed expression.
  static RecordFilter parse(const QString& expression);

  /// True when the row seen through `lookup` matches. Throws RuntimeError for a
  /// column the record set does not have.
  bool matches(const Lookup& lookup) const;

  struct Node;

private:
  std::shared_ptr<const Node> m_root;
};

} // namespace vcm
