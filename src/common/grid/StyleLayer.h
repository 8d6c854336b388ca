#pragma once

#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <limits>
#include <vector>

namespace vcm {

/// One style attribute (background, lock, kind, ...) of a grid, kept in four layers:
/// the whole sheet, columns, rows and single cells. Every write carries a stamp from the
/// grid's counter and a cell shows the most recent write that covers it. So painting the
/// whole sheet white is one write, highlighting a row is one write, and neither walks
/// the cells, yet the result is exactly that of writing every cell in turn.
///
/// The sheet and column layers cover data rows (1 and up) only; the header row 0 takes
/// row and cell writes.
template <class T>
class StyleLayer {
public:
  struct Entry {
    T value{};
    quint64 stamp = 0; ///< 0: never written
  };

  explicit StyleLayer(T fallback = T{}) : m_fallback(fallback) {}

  T value(int col, int row) const { return entry(col, row).value; }

  /// True when some write covers the cell (the fallback is not in use).
  bool isSet(int col, int row) const { return entry(col, row).stamp != 0; }

  Entry entry(int col, int row) const
  {
    Entry best{m_fallback, 0};
    auto take = [&best](const Entry& e) {
      if (e.stamp > best.stamp)
        best = e;
    };
    if (row >= 1) {
      take(m_sheet);
      if (col >= 0 && size_t(col) < m_columns.size())
        take(m_columns[size_t(col)]);
    }
    if (row >= 0 && size_t(row) < m_rows.size())
      take(m_rows[size_t(row)]);
    // The bounds skip the hash for rows without cell overrides (all data rows, when only
    // header cells have their own kind): this lookup runs for every cell written.
    if (row >= m_cellRowMin && row <= m_cellRowMax) {
      auto it = m_cells.constFind(key(col, row));
      if (it != m_cells.constEnd())
        take(*it);
    }
    return best;
  }

  void setSheet(const T& v, quint64 stamp)
  {
    m_sheet = {v, stamp};
    // Everything older on data rows is now hidden for good; drop it so repeated
    // whole-sheet writes do not let the sparse layers grow.
    m_columns.clear();
    for (auto it = m_cells.begin(); it != m_cells.end();) {
      if (rowOf(it.key()) >= 1)
        it = m_cells.erase(it);
      else
        ++it;
    }
    recomputeCellRows();
  }

  void setColumn(int col, const T& v, quint64 stamp)
  {
    if (col < 0)
      return;
    if (m_columns.size() <= size_t(col))
      m_columns.resize(size_t(col) + 1);
    m_columns[size_t(col)] = {v, stamp};
  }

  void setRow(int row, const T& v, quint64 stamp)
  {
    if (row < 0)
      return;
    if (m_rows.size() <= size_t(row))
      m_rows.resize(size_t(row) + 1);
    m_rows[size_t(row)] = {v, stamp};
  }

  void setCell(int col, int row, const T& v, quint64 stamp)
  {
    if (col >= 0 && row >= 0) {
      m_cells.insert(key(col, row), {v, stamp});
      m_cellRowMin = std::min(m_cellRowMin, row);
      m_cellRowMax = std::max(m_cellRowMax, row);
    }
  }

  /// Rows from `at` on move down by `count`; the new rows carry nothing of their own.
  void insertRows(int at, int count)
  {
    if (size_t(at) < m_rows.size())
      m_rows.insert(m_rows.begin() + at, size_t(count), Entry{});
    remapCells([&](int row) { return row >= at ? row + count : row; });
  }

  /// Rows at..at+count-1 disappear; the rows below move up.
  void removeRows(int at, int count)
  {
    if (size_t(at) < m_rows.size())
      m_rows.erase(m_rows.begin() + at,
                   m_rows.begin() + std::min(m_rows.size(), size_t(at + count)));
    remapCells([&](int row) {
      if (row < at)
        return row;
      return row < at + count ? -1 : row - count;
    });
  }

  /// newRow[first + i] takes what row oldRows[i] had.
  void permuteRows(int first, const std::vector<int>& oldRows)
  {
    const int last = first + int(oldRows.size()) - 1;
    if (size_t(first) < m_rows.size()) {
      if (m_rows.size() <= size_t(last))
        m_rows.resize(size_t(last) + 1);
      std::vector<Entry> moved(oldRows.size());
      for (size_t i = 0; i < oldRows.size(); ++i)
        moved[i] = m_rows[size_t(oldRows[i])];
      std::copy(moved.begin(), moved.end(), m_rows.begin() + first);
    }
    if (m_cells.isEmpty())
      return;
    std::vector<int> newOf(oldRows.size());
    for (size_t i = 0; i < oldRows.size(); ++i)
      newOf[size_t(oldRows[i] - first)] = first + int(i);
    remapCells([&](int row) {
      return row >= first && row <= last ? newOf[size_t(row - first)] : row;
    });
  }

  /// Forgets what lies beyond the new sheet size.
  void truncate(int columns, int rows)
  {
    if (m_columns.size() > size_t(columns + 1))
      m_columns.resize(size_t(columns + 1));
    if (m_rows.size() > size_t(rows + 1))
      m_rows.resize(size_t(rows + 1));
    for (auto it = m_cells.begin(); it != m_cells.end();) {
      if (rowOf(it.key()) > rows || colOf(it.key()) > columns)
        it = m_cells.erase(it);
      else
        ++it;
    }
    recomputeCellRows();
  }

  void clear()
  {
    m_sheet = {};
    m_columns.clear();
    m_rows.clear();
    m_cells.clear();
    recomputeCellRows();
  }

  size_t cellOverrides() const { return size_t(m_cells.size()); }

private:
  static quint64 key(int col, int row) { return (quint64(quint32(row)) << 32) | quint32(col); }
  static int rowOf(quint64 k) { return int(k >> 32); }
  static int colOf(quint64 k) { return int(k & 0xFFFFFFFFu); }

  template <class F>
  void remapCells(F newRow)
  {
    if (m_cells.isEmpty())
      return;
    QHash<quint64, Entry> moved;
    moved.reserve(m_cells.size());
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
      const int row = newRow(rowOf(it.key()));
      if (row >= 0)
        moved.insert(key(colOf(it.key()), row), it.value());
    }
    m_cells.swap(moved);
    recomputeCellRows();
  }

  void recomputeCellRows()
  {
    m_cellRowMin = std::numeric_limits<int>::max();
    m_cellRowMax = -1;
    for (auto it = m_cells.cbegin(); it != m_cells.cend(); ++it) {
      m_cellRowMin = std::min(m_cellRowMin, rowOf(it.key()));
      m_cellRowMax = std::max(m_cellRowMax, rowOf(it.key()));
    }
  }

  T m_fallback;
  Entry m_sheet;
  std::vector<Entry> m_columns;
  std::vector<Entry> m_rows;
  QHash<quint64, Entry> m_cells;
  int m_cellRowMin = std::numeric_limits<int>::max(); // rows holding cell overrides
  int m_cellRowMax = -1;
};

} // namespace vcm
