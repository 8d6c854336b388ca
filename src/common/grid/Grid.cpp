#include "common/grid/Grid.h"

#include "common/grid/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vcm {

namespace {
constexpr double NoNumber = std::numeric_limits<double>::quiet_NaN();
constexpr quint8 AlignSet = 0x80;
} // namespace

Grid::Grid(int columns, int rows)
{
  m_kinds.push_back(CellKind{});
  m_rowMeta.resize(1);
  m_colMeta.resize(1);
  m_cells.clear();
  setColumnCount(columns);
  setRowCount(rows);
}

void Grid::addListener(GridListener* listener)
{
  if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
    m_listeners.push_back(listener);
}

void Grid::removeListener(GridListener* listener)
{
  m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener), m_listeners.end());
}

// --- size ---------------------------------------------------------------------

void Grid::setColumnCount(int columns)
{
  columns = std::max(columns, 0);
  if (columns == m_cols)
    return;
  std::vector<Cell> cells(size_t(m_rows + 1) * size_t(columns), Cell{QString(), NoNumber});
  const int keep = std::min(columns, m_cols);
  for (int r = 0; r <= m_rows; ++r)
    for (int c = 1; c <= keep; ++c)
      cells[size_t(r) * size_t(columns) + size_t(c - 1)] = std::move(cellAt(c, r));
  m_cells.swap(cells);
  m_cols = columns;
  m_colMeta.resize(size_t(columns) + 1);
  truncateLayers();
  m_spans.removeIf([columns](const QRect& s) { return s.left() > columns; });
  clampActive();
  structureChanged();
}

void Grid::setRowCount(int rows)
{
  rows = std::max(rows, 0);
  if (rows == m_rows)
    return;
  const int old = m_rows;
  if (rows < old) {
    for (int r = rows + 1; r <= old; ++r)
      if (m_rowMeta[size_t(r)].height != 0 || m_rowMeta[size_t(r)].hidden)
        --m_rowsWithMeta;
  }
  m_cells.resize(size_t(rows + 1) * size_t(m_cols), Cell{QString(), NoNumber});
  m_rowMeta.resize(size_t(rows) + 1);
  m_rows = rows;
  if (rows < old) {
    truncateLayers();
    m_spans.removeIf([rows](const QRect& s) { return s.top() > rows; });
    clampActive();
    if (m_suspended == 0)
      notify([&](GridListener* l) { l->gridRowsRemoved(rows + 1, old - rows); });
    else
      m_pendingReset = true;
  } else {
    if (m_suspended == 0)
      notify([&](GridListener* l) { l->gridRowsInserted(old + 1, rows - old); });
    else
      m_pendingReset = true;
  }
}

void Grid::insertRows(int at, int count)
{
  if (count <= 0 || at < 1 || at > m_rows + 1)
    return;
  const auto pos = m_cells.begin() + std::ptrdiff_t(at) * m_cols;
  m_cells.insert(pos, size_t(count) * size_t(m_cols), Cell{QString(), NoNumber});
  m_rowMeta.insert(m_rowMeta.begin() + at, size_t(count), RowMeta{});
  m_rows += count;
  forEachLayer([&](auto& layer) { layer.insertRows(at, count); });
  for (QRect& s : m_spans)
    if (s.top() >= at)
      s.translate(0, count);
  if (m_activeRow >= at)
    m_activeRow += count;
  if (m_suspended == 0)
    notify([&](GridListener* l) { l->gridRowsInserted(at, count); });
  else
    m_pendingReset = true;
}

void Grid::deleteRows(int at, int count)
{
  if (at < 1 || at > m_rows || count <= 0)
    return;
  count = std::min(count, m_rows - at + 1);
  for (int r = at; r < at + count; ++r)
    if (m_rowMeta[size_t(r)].height != 0 || m_rowMeta[size_t(r)].hidden)
      --m_rowsWithMeta;
  const auto first = m_cells.begin() + std::ptrdiff_t(at) * m_cols;
  m_cells.erase(first, first + std::ptrdiff_t(count) * m_cols);
  m_rowMeta.erase(m_rowMeta.begin() + at, m_rowMeta.begin() + at + count);
  m_rows -= count;
  forEachLayer([&](auto& layer) { layer.removeRows(at, count); });
  m_spans.removeIf([&](const QRect& s) { return s.top() >= at && s.top() < at + count; });
  for (QRect& s : m_spans)
    if (s.top() >= at + count)
      s.translate(0, -count);
  if (m_activeRow >= at + count)
    m_activeRow -= count;
  clampActive();
  if (m_suspended == 0)
    notify([&](GridListener* l) { l->gridRowsRemoved(at, count); });
  else
    m_pendingReset = true;
}

// --- contents -------------------------------------------------------------------

QString Grid::text(int col, int row) const
{
  if (!inSheet(col, row))
    return QString();
  const Cell& cell = cellAt(col, row);
  const CellKind& k = kind(col, row);
  if (k.type == CellType::Number) {
    double v = cell.number;
    if (std::isnan(v) && !parseGridNumber(cell.text, v))
      return cell.text.isEmpty() ? QString() : cell.text;
    return formatGridNumber(v, k.decimals, k.separator);
  }
  if (!std::isnan(cell.number))
    return plainGridNumber(cell.number, k.decimals);
  return cell.text;
}

void Grid::setText(int col, int row, const QString& text)
{
  setText(col, row, QString(text));
}

void Grid::setText(int col, int row, QString&& text)
{
  if (!inSheet(col, row))
    return;
  Cell& cell = cellAt(col, row);
  if (kind(col, row).type == CellType::Number) {
    // Kept as a number: no text to allocate, and the view formats it when shown.
    // A number cell holds numbers only; other text leaves it empty.
    double v = 0;
    cell.text = QString();
    cell.number = parseGridNumber(text, v) ? v : NoNumber;
  } else {
    cell.text = std::move(text);
    cell.number = NoNumber;
  }
  cellsChanged(col, row, col, row);
}

QString Grid::value(int col, int row) const
{
  if (!inSheet(col, row))
    return QString();
  const Cell& cell = cellAt(col, row);
  const CellKind& k = kind(col, row);
  double v = cell.number;
  if (std::isnan(v)) {
    if (k.type != CellType::Number || !parseGridNumber(cell.text, v))
      return cell.text;
  }
  return plainGridNumber(v, k.type == CellType::Number ? k.decimals : 0);
}

double Grid::number(int col, int row) const
{
  if (!inSheet(col, row))
    return 0;
  const Cell& cell = cellAt(col, row);
  double v = cell.number;
  if (std::isnan(v) && !parseGridNumber(cell.text, v))
    return 0;
  return v;
}

double Grid::shownNumber(int col, int row) const
{
  const double v = number(col, row);
  if (!inSheet(col, row))
    return v;
  const CellKind& k = kind(col, row);
  if (k.type != CellType::Number)
    return v;
  // Totals read thousands of cells: the usual scales come from a table, not pow().
  static constexpr double kScales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
  const double scale = k.decimals >= 0 && k.decimals < 10 ? kScales[k.decimals] : std::pow(10.0, k.decimals);
  return std::round(v * scale) / scale + 0.0; // halves away from zero, as the text shows them
}

void Grid::setFlag(int col, int row, bool on)
{
  if (on)
    setNumber(col, row, 1);
  else
    setText(col, row, QString());
}

bool Grid::storedNumber(int col, int row, double& out) const
{
  if (!inSheet(col, row))
    return false;
  const Cell& cell = cellAt(col, row);
  out = cell.number;
  if (std::isnan(out) && (kind(col, row).type != CellType::Number || !parseGridNumber(cell.text, out)))
    return false;
  return true;
}

void Grid::setNumber(int col, int row, double value)
{
  if (!inSheet(col, row))
    return;
  Cell& cell = cellAt(col, row);
  cell.text = QString();
  cell.number = std::isfinite(value) ? value : NoNumber;
  cellsChanged(col, row, col, row);
}

bool Grid::isChecked(int col, int row) const
{
  return number(col, row) != 0;
}

void Grid::setChecked(int col, int row, bool checked)
{
  setText(col, row, checked ? QStringLiteral("1") : QStringLiteral("0"));
}

void Grid::clearText(const CellRange& range)
{
  const int c1 = range.allColumns() ? 1 : std::max(range.col1, 1);
  const int c2 = range.allColumns() ? m_cols : std::min(range.col2, m_cols);
  const int r1 = range.allRows() ? 1 : std::max(range.row1, 0);
  const int r2 = range.allRows() ? m_rows : std::min(range.row2, m_rows);
  for (int r = r1; r <= r2; ++r)
    for (int c = c1; c <= c2; ++c)
      cellAt(c, r) = Cell{QString(), NoNumber};
  cellsChanged(range);
}

// --- styles -----------------------------------------------------------------------

template <class F>
void Grid::forEachLayer(F f)
{
  f(m_kind);
  f(m_locked);
  f(m_background);
  f(m_foreground);
  f(m_align);
  f(m_font);
  f(m_border);
  f(m_tag);
  f(m_hint);
  f(m_hintReason);
}

template <class T>
void Grid::applyStyle(StyleLayer<T>& layer, const CellRange& range, const T& value)
{
  const quint64 stamp = ++m_stamp;
  if (range.allColumns() && range.allRows()) {
    layer.setSheet(value, stamp);
  } else if (range.allColumns()) {
    const int last = std::min(range.row2, m_rows);
    for (int r = std::max(range.row1, 0); r <= last; ++r)
      layer.setRow(r, value, stamp);
  } else if (range.allRows()) {
    const int last = std::min(range.col2, m_cols);
    for (int c = std::max(range.col1, 1); c <= last; ++c)
      layer.setColumn(c, value, stamp);
  } else {
    const int lastRow = std::min(range.row2, m_rows);
    const int lastCol = std::min(range.col2, m_cols);
    for (int r = std::max(range.row1, 0); r <= lastRow; ++r)
      for (int c = std::max(range.col1, 1); c <= lastCol; ++c)
        layer.setCell(c, r, value, stamp);
  }
  cellsChanged(range);
}

quint16 Grid::internKind(const CellKind& kind)
{
  for (size_t i = 0; i < m_kinds.size(); ++i)
    if (m_kinds[i] == kind)
      return quint16(i);
  m_kinds.push_back(kind);
  return quint16(m_kinds.size() - 1);
}

const CellKind& Grid::kind(int col, int row) const
{
  return m_kinds[m_kind.value(col, row)];
}

void Grid::setKind(const CellRange& range, const CellKind& kind)
{
  applyStyle(m_kind, range, internKind(kind));
}

void Grid::setTextCells(const CellRange& range, int maxLength)
{
  CellKind k;
  k.maxLength = maxLength;
  setKind(range, k);
}

void Grid::setNumberCells(const CellRange& range, double minimum, double maximum, int decimals,
                          bool separator)
{
  CellKind k;
  k.type = CellType::Number;
  k.minimum = minimum;
  k.maximum = maximum;
  k.decimals = decimals;
  k.separator = separator;
  setKind(range, k);
}

void Grid::setCheckBoxCells(const CellRange& range, int uncheckedPicture, int checkedPicture,
                            const QString& caption)
{
  CellKind k;
  k.type = CellType::CheckBox;
  k.uncheckedPicture = uncheckedPicture;
  k.checkedPicture = checkedPicture;
  k.caption = caption;
  setKind(range, k);
}

void Grid::setButtonCells(const CellRange& range, const QString& caption)
{
  CellKind k;
  k.type = CellType::Button;
  k.caption = caption;
  setKind(range, k);
}

void Grid::setLocked(const CellRange& range, bool locked)
{
  applyStyle(m_locked, range, locked);
}

Colour Grid::background(int col, int row) const
{
  const auto e = m_background.entry(col, row);
  if (row == 0 && e.stamp == 0)
    return colours::ButtonFace;
  return e.value;
}

void Grid::setBackground(const CellRange& range, Colour colour)
{
  applyStyle(m_background, range, colour);
}

void Grid::setForeground(const CellRange& range, Colour colour)
{
  applyStyle(m_foreground, range, colour);
}

HAlign Grid::horizontalAlignment(int col, int row) const
{
  return HAlign(m_align.value(col, row) & 0x0F);
}

VAlign Grid::verticalAlignment(int col, int row) const
{
  const quint8 raw = m_align.value(col, row);
  return (raw & AlignSet) ? VAlign((raw >> 4) & 0x07) : VAlign::Centre;
}

void Grid::setAlignment(const CellRange& range, HAlign horizontal, VAlign vertical)
{
  applyStyle(m_align, range, quint8(quint8(horizontal) | (quint8(vertical) << 4) | AlignSet));
}

void Grid::setFont(const CellRange& range, bool bold, double pointSize)
{
  const int size = std::clamp(int(std::lround(pointSize * 10)), 0, 0x7FFF);
  applyStyle(m_font, range, quint16((bold ? BoldBit : 0) | size));
}

void Grid::setBorder(const CellRange& range, Colour colour)
{
  applyStyle(m_border, range, colour & 0x80FFFFFFu);
}

void Grid::clearBorder(const CellRange& range)
{
  applyStyle(m_border, range, NoBorder);
}

void Grid::setTag(const CellRange& range, const QString& tag)
{
  applyStyle(m_tag, range, tag);
}

void Grid::setHint(int col, int row, const QString& hint, const QString& reason)
{
  if (!inSheet(col, row) || (m_hint.value(col, row) == hint && m_hintReason.value(col, row) == reason))
    return;
  applyStyle(m_hint, CellRange::cell(col, row), hint);
  applyStyle(m_hintReason, CellRange::cell(col, row), reason);
}

void Grid::clearHints()
{
  applyStyle(m_hint, CellRange::sheet(), QString());
  applyStyle(m_hintReason, CellRange::sheet(), QString());
}

// --- columns and rows ---------------------------------------------------------------

double Grid::columnWidth(int col) const
{
  return col >= 0 && col <= m_cols ? m_colMeta[size_t(col)].width : 0;
}

void Grid::setColumnWidth(int col, double width)
{
  if (col < 0 || col > m_cols)
    return;
  m_colMeta[size_t(col)].width = std::max(width, 0.0);
  layoutChanged();
}

bool Grid::isColumnHidden(int col) const
{
  return col >= 0 && col <= m_cols && m_colMeta[size_t(col)].hidden;
}

void Grid::setColumnHidden(int col, bool hidden)
{
  if (col < 1 || col > m_cols)
    return;
  m_colMeta[size_t(col)].hidden = hidden;
  layoutChanged();
}

double Grid::rowHeight(int row) const
{
  return row >= 0 && row <= m_rows ? m_rowMeta[size_t(row)].height : 0;
}

void Grid::setRowHeight(int row, double points)
{
  if (row < 0 || row > m_rows)
    return;
  RowMeta& m = m_rowMeta[size_t(row)];
  const bool had = m.height != 0 || m.hidden;
  m.height = float(std::max(points, 0.0));
  m_rowsWithMeta += int(m.height != 0 || m.hidden) - int(had);
  layoutChanged();
}

bool Grid::isRowHidden(int row) const
{
  return row >= 1 && row <= m_rows && m_rowMeta[size_t(row)].hidden;
}

void Grid::setRowHidden(int row, bool hidden)
{
  if (row < 1 || row > m_rows)
    return;
  RowMeta& m = m_rowMeta[size_t(row)];
  const bool had = m.height != 0 || m.hidden;
  m.hidden = hidden;
  m_rowsWithMeta += int(m.height != 0 || m.hidden) - int(had);
  layoutChanged();
}

// --- active cell ----------------------------------------------------------------------

void Grid::setActiveCell(int col, int row)
{
  if (col < 1 || col > m_cols || row < 1 || row > m_rows)
    return;
  if (col == m_activeCol && row == m_activeRow)
    return;
  m_activeCol = col;
  m_activeRow = row;
  activeChanged();
}

void Grid::clampActive()
{
  int col = std::min(m_activeCol, m_cols);
  int row = std::min(m_activeRow, m_rows);
  if (col < 1 || row < 1)
    col = row = 0;
  if (col != m_activeCol || row != m_activeRow) {
    m_activeCol = col;
    m_activeRow = row;
    activeChanged();
  }
}

// --- painting ---------------------------------------------------------------------------

void Grid::suspendRedraw()
{
  if (m_suspended++ == 0)
    notify([](GridListener* l) { l->gridRedrawChanged(false); });
}

void Grid::resumeRedraw()
{
  if (m_suspended == 0 || --m_suspended > 0)
    return;
  if (m_pendingReset) {
    notify([](GridListener* l) { l->gridReset(); });
  } else {
    if (m_pendingLayout)
      notify([](GridListener* l) { l->gridLayoutChanged(); });
    if (!m_pendingCells.isNull()) {
      const QRect c = m_pendingCells;
      notify([&](GridListener* l) { l->gridCellsChanged(c.left(), c.top(), c.right(), c.bottom()); });
    }
    if (m_pendingActive)
      notify([](GridListener* l) { l->gridActiveCellChanged(); });
  }
  m_pendingReset = m_pendingLayout = m_pendingActive = false;
  m_pendingCells = QRect();
  notify([](GridListener* l) { l->gridRedrawChanged(true); });
}

void Grid::cellsChanged(const CellRange& range)
{
  cellsChanged(range.allColumns() ? 1 : range.col1, range.allRows() ? 1 : range.row1,
               range.allColumns() ? m_cols : range.col2, range.allRows() ? m_rows : range.row2);
}

void Grid::cellsChanged(int col1, int row1, int col2, int row2)
{
  if (m_pendingReset && m_suspended > 0)
    return; // the coming reset repaints everything (a load writes thousands of cells here)
  col1 = std::max(col1, 1);
  row1 = std::max(row1, 0);
  col2 = std::min(col2, m_cols);
  row2 = std::min(row2, m_rows);
  if (col1 > col2 || row1 > row2)
    return;
  if (m_suspended == 0) {
    notify([&](GridListener* l) { l->gridCellsChanged(col1, row1, col2, row2); });
  } else {
    m_pendingCells |= QRect(QPoint(col1, row1), QPoint(col2, row2));
  }
}

void Grid::structureChanged()
{
  if (m_suspended == 0)
    notify([](GridListener* l) { l->gridReset(); });
  else
    m_pendingReset = true;
}

void Grid::layoutChanged()
{
  if (m_suspended == 0)
    notify([](GridListener* l) { l->gridLayoutChanged(); });
  else
    m_pendingLayout = true;
}

void Grid::activeChanged()
{
  if (m_suspended == 0)
    notify([](GridListener* l) { l->gridActiveCellChanged(); });
  else
    m_pendingActive = true;
}

void Grid::truncateLayers()
{
  forEachLayer([&](auto& layer) { layer.truncate(m_cols, m_rows); });
}

// --- search and sort -------------------------------------------------------------------

int Grid::searchColumn(int col, int firstRow, int lastRow, const QString& text) const
{
  if (col < 1 || col > m_cols)
    return -1;
  const int last = std::min(lastRow, m_rows);
  for (int r = std::max(firstRow, 0); r <= last; ++r)
    if (this->text(col, r) == text)
      return r;
  return -1;
}

void Grid::sortRows(int firstRow, int lastRow, int keyColumn, SortOrder order)
{
  firstRow = std::max(firstRow, 1);
  lastRow = std::min(lastRow, m_rows);
  if (keyColumn < 1 || keyColumn > m_cols || lastRow <= firstRow)
    return;

  struct Key {
    bool empty;
    bool numeric;
    double number;
    QString text;
  };
  const int n = lastRow - firstRow + 1;
  std::vector<Key> keys(static_cast<size_t>(n), Key{});
  for (int i = 0; i < n; ++i) {
    const int r = firstRow + i;
    Key& k = keys[size_t(i)];
    if (cellType(keyColumn, r) == CellType::Number) {
      double v = 0;
      k.numeric = true;
      const Cell& cell = cellAt(keyColumn, r);
      k.empty = std::isnan(cell.number) && !parseGridNumber(cell.text, v);
      k.number = std::isnan(cell.number) ? v : cell.number;
    } else {
      k.numeric = false;
      k.text = text(keyColumn, r);
      k.empty = k.text.isEmpty();
    }
  }
  auto less = [](const Key& a, const Key& b) {
    if (a.empty || b.empty)
      return a.empty && !b.empty;
    if (a.numeric && b.numeric)
      return a.number < b.number;
    if (a.numeric != b.numeric)
      return a.numeric; // numbers before texts when a column mixes them
    return a.text < b.text;
  };
  std::vector<int> order_(static_cast<size_t>(n));
  std::iota(order_.begin(), order_.end(), 0);
  if (order == SortOrder::Ascending)
    std::stable_sort(order_.begin(), order_.end(),
                     [&](int a, int b) { return less(keys[size_t(a)], keys[size_t(b)]); });
  else
    std::stable_sort(order_.begin(), order_.end(),
                     [&](int a, int b) { return less(keys[size_t(b)], keys[size_t(a)]); });

  // Whole rows move: every column's cells, the row's own layout and its styles.
  std::vector<Cell> moved;
  moved.reserve(size_t(n) * size_t(m_cols));
  std::vector<RowMeta> movedMeta(static_cast<size_t>(n));
  std::vector<int> oldRows(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int from = firstRow + order_[size_t(i)];
    oldRows[size_t(i)] = from;
    for (int c = 1; c <= m_cols; ++c)
      moved.push_back(std::move(cellAt(c, from)));
    movedMeta[size_t(i)] = m_rowMeta[size_t(from)];
  }
  std::move(moved.begin(), moved.end(), m_cells.begin() + std::ptrdiff_t(firstRow) * m_cols);
  std::copy(movedMeta.begin(), movedMeta.end(), m_rowMeta.begin() + firstRow);
  forEachLayer([&](auto& layer) { layer.permuteRows(firstRow, oldRows); });

  cellsChanged(1, firstRow, m_cols, lastRow);
  if (m_rowsWithMeta > 0)
    layoutChanged();
}

// --- spans ---------------------------------------------------------------------------------

void Grid::addSpan(int col, int row, int columns, int rows)
{
  if (!inSheet(col, row) || columns < 1 || rows < 1)
    return;
  removeSpan(col, row);
  if (columns > 1 || rows > 1)
    m_spans.append(QRect(col, row, columns, rows));
  layoutChanged();
}

void Grid::removeSpan(int col, int row)
{
  if (m_spans.removeIf([&](const QRect& s) { return s.left() == col && s.top() == row; }) > 0)
    layoutChanged();
}

void Grid::clearSpans()
{
  if (m_spans.isEmpty())
    return;
  m_spans.clear();
  layoutChanged();
}

size_t Grid::storageBytes() const
{
  return m_cells.capacity() * sizeof(Cell) + m_rowMeta.capacity() * sizeof(RowMeta) +
         m_colMeta.capacity() * sizeof(ColumnMeta);
}

} // namespace vcm
