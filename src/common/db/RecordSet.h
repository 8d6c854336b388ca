#pragma once

#include "common/db/RecordFilter.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace vcm {

/// A static, read-only set of rows, fully fetched (or built in memory), with a cursor.
/// Values are kept as text; a database NULL reads as empty text (isNull tells them
/// apart). All access to a closed set throws RuntimeError (3704), reading past the
/// end throws 3021, an unknown column 3265.
class RecordSet {
public:
  enum class ColumnType { Text, Integer };

  struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
  };

  RecordSet() = default;
  explicit RecordSet(std::vector<Column> columns);

  /// An in-memory record set with declared columns, open and empty.
  static RecordSet inMemory(std::vector<Column> columns) { return RecordSet(std::move(columns)); }

  /// Appends a row (one value per column; missing values are NULL) and makes it current.
  /// Integer columns accept only whole numbers (or empty for NULL).
  void appendRow(const QStringList& values);

  /// Appends a row of values as they are (a null QString is NULL).
  void appendRowUnchecked(std::vector<QString>&& values);

  /// One cell as the server sent it: EUC-KR bytes, or NULL when `data` is null.
  struct RawCell {
    const char* data = nullptr;
    quint32 size = 0;
  };

  /// Takes the rows of a server result without copying them: `owner` keeps the bytes
  /// alive; cells are decoded when read. This keeps a fetch as cheap as the client
  /// library's own, and a large month costs no per-cell allocation until it is read.
  void adoptRawRows(std::shared_ptr<void> owner, std::vector<RawCell>&& cells, int rows);

  bool isOpen() const { return m_open; }
  void close();

  /// Rows visible through the current filter.
  int recordCount() const;
  bool eof() const;
  bool bof() const;
  void moveFirst();
  void moveNext();
  void moveLast();
  /// Zero-based position of the cursor among the visible rows.
  int position() const { return m_pos; }

  int columnCount() const { return static_cast<int>(m_columns.size()); }
  const std::vector<Column>& columns() const { return m_columns; }
  /// Index of a column, case-insensitive; -1 when absent.
  int columnIndex(const QString& name) const;

  /// The current row's value of `column` (NULL reads as empty text).
  QString value(const QString& column) const;
  QString value(int columnIndex) const;
  /// value(columnIndex).trimmed(), without copying the text twice.
  QString trimmedValue(int columnIndex) const;
  bool isNull(const QString& column) const;

  /// The current row's value of a column read as g_NumVal reads a text (NULL and
  /// non-numbers give 0), without building the text first.
  double number(int columnIndex) const;

  /// Sets a filter expression (COLUMN = 'value' joined with AND/OR). The cursor moves
  /// to the first matching row. An empty expression removes the filter.
  void setFilter(const QString& expression);
  void removeFilter() { setFilter(QString()); }
  bool hasFilter() const { return m_filter.has_value(); }

private:
  void requireOpen() const;
  /// Checks that the set is open, the column exists and a row is current; returns the row.
  int currentRow(int columnIndex) const;
  QString cellAt(int row, int columnIndex, bool trim = false) const;
  bool cellIsNull(int row, int columnIndex) const;
  void materialize();

  std::vector<Column> m_columns;
  QHash<QString, int> m_index; // upper-cased name -> column
  std::vector<QString> m_cells; // row-major, rows built in memory
  std::shared_ptr<void> m_rawOwner;
  std::vector<RawCell> m_raw;   // row-major, rows fetched from the server
  // Per column, the short values decoded so far: codes, dates, names and flags come from
  // small sets, and handing out the same shared text saves decoding and allocating it
  // again for each row. A column of unique values (entry codes) stops being remembered.
  struct Known {
    quint64 a = 0, b = 0; // the value's bytes, exactly (see shortKey in the .cpp)
    quint32 size = 0;     // 0: empty slot
    QString text;
  };
  struct ColumnMemory {
    std::vector<Known> table; // open addressing; empty slots have no data
    int last = -1;            // the slot found last: neighbouring rows often repeat it
    int filled = 0;
    int lookups = 0;
    int hits = 0;
    bool off = false;
  };
  QString rememberedDecode(int column, const char* data, quint32 size) const;
  mutable std::vector<ColumnMemory> m_recent;
  int m_rows = 0;
  std::optional<RecordFilter> m_filter;
  std::vector<int> m_visible; // row numbers matching the filter
  int m_pos = 0;
  bool m_open = false;
};

} // namespace vcm
