#include "common/db/RecordSet.h"

#include "common/RuntimeError.h"
#include "common/db/EucKr.h"
#include "common/TextHelpers.h"

#include <cstring>

namespace vcm {

namespace {

[[noreturn]] void closedError()
{
  throw RuntimeError(errors::kObjectClosed,
                     QStringLiteral("개체가 닫혀 있으면 작업이 허용되지 않습니다."));
}

[[noreturn]] void noCurrentRecord()
{
  throw RuntimeError(errors::kNoCurrentRecord,
                     QStringLiteral("BOF나 EOF 중 하나가 참이거나 현재 레코드가 삭제되었습니다. "
                                    "응용 프로그램은 현재 레코드를 요구합니다."));
}

[[noreturn]] void unknownColumn(const QString& name)
{
  throw RuntimeError(errors::kItemNotFound,
                     QStringLiteral("요청한 이름이나 서수에 해당하는 항목이 컬렉션에 없습니다. (") +
                         name + QLatin1Char(')'));
}

} // namespace

RecordSet::RecordSet(std::vector<Column> columns) : m_columns(std::move(columns)), m_open(true)
{
  for (int i = 0; i < static_cast<int>(m_columns.size()); ++i)
    m_index.insert(m_columns[i].name.toUpper(), i);
}

void RecordSet::appendRow(const QStringList& values)
{
  requireOpen();
  std::vector<QString> row(m_columns.size());
  for (size_t c = 0; c < m_columns.size(); ++c) {
    if (c >= static_cast<size_t>(values.size()))
      continue;
    const QString& v = values[static_cast<qsizetype>(c)];
    if (m_columns[c].type == ColumnType::Integer && !v.isEmpty()) {
      bool ok = false;
      const qint64 n = v.trimmed().toLongLong(&ok);
      if (!ok || n < INT32_MIN || n > INT32_MAX)
        throw RuntimeError(errors::kProvider,
                           QStringLiteral("정수 열에 숫자가 아닌 값을 넣을 수 없습니다. (") +
                               m_columns[c].name + QLatin1Char(')'));
      row[c] = QString::number(n);
    } else {
      row[c] = v.isNull() ? QString() : v;
    }
  }
  appendRowUnchecked(std::move(row));
  // Like an added record in the old record sets, the new row becomes current.
  m_pos = recordCount() - 1;
  if (m_pos < 0)
    m_pos = recordCount();
}

void RecordSet::appendRowUnchecked(std::vector<QString>&& values)
{
  materialize();
  values.resize(m_columns.size());
  for (auto& v : values)
    m_cells.push_back(std::move(v));
  const int row = m_rows++;
  if (m_filter) {
    const auto lookup = [&](const QString& column, QString* out) {
      const int c = columnIndex(column);
      if (c < 0)
        return false;
      *out = cellAt(row, c);
      return true;
    };
    if (m_filter->matches(lookup))
      m_visible.push_back(row);
  }
}

void RecordSet::adoptRawRows(std::shared_ptr<void> owner, std::vector<RawCell>&& cells, int rows)
{
  requireOpen();
  m_cells.clear();
  m_rawOwner = std::move(owner);
  m_raw = std::move(cells);
  m_rows = rows;
  m_visible.clear();
  m_filter.reset();
  m_pos = 0;
}

void RecordSet::materialize()
{
  if (!m_rawOwner)
    return;
  std::vector<QString> cells;
  cells.reserve(m_raw.size());
  const int width = columnCount();
  for (int r = 0; r < m_rows; ++r)
    for (int c = 0; c < width; ++c)
      cells.push_back(cellAt(r, c));
  m_cells = std::move(cells);
  m_raw.clear();
  m_recent.clear();
  m_rawOwner.reset();
}

namespace {

/// The bytes of a value of 1 to 16 bytes as two words: with its size, the pair is the
/// value exactly (longer values overlap their two halves), so comparing values costs two
/// word compares and no call.
struct ShortKey {
  quint64 a = 0, b = 0;
};

ShortKey shortKey(const char* p, quint32 n)
{
  ShortKey k;
  if (n >= 8) {
    std::memcpy(&k.a, p, 8);
    std::memcpy(&k.b, p + n - 8, 8);
  } else if (n >= 4) {
    quint32 first, last;
    std::memcpy(&first, p, 4);
    std::memcpy(&last, p + n - 4, 4);
    k.a = first | (quint64(last) << 32);
  } else {
    k.a = quint64(quint8(p[0])) | (quint64(quint8(p[n / 2])) << 8) | (quint64(quint8(p[n - 1])) << 16);
  }
  return k;
}

} // namespace

QString RecordSet::rememberedDecode(int c, const char* data, quint32 size) const
{
  constexpr int kSlots = 256;          // a power of two
  constexpr int kMaxFilled = kSlots / 2;
  if (m_recent.size() != m_columns.size())
    m_recent.resize(m_columns.size());
  ColumnMemory& memory = m_recent[static_cast<size_t>(c)];
  if (memory.off)
    return euckr::decode(data, size);
  if (memory.table.empty())
    memory.table.resize(kSlots);
  const ShortKey key = shortKey(data, size);
  const auto same = [&](const Known& k) { return k.size == size && k.a == key.a && k.b == key.b; };
  ++memory.lookups;
  if (memory.last >= 0 && same(memory.table[static_cast<size_t>(memory.last)])) {
    ++memory.hits;
    return memory.table[static_cast<size_t>(memory.last)].text;
  }
  quint64 mixed = (key.a * 0x9E3779B97F4A7C15ull) ^ (key.b * 0xC2B2AE3D27D4EB4Full) ^ size;
  mixed ^= mixed >> 32; // the high half holds every byte's influence; fold it down
  mixed *= 0x165667B19E3779F9ull;
  for (quint32 i = static_cast<quint32>(mixed >> 32) & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
    Known& k = memory.table[i];
    if (k.size == 0) {
      QString text = euckr::decode(data, size);
      if (memory.filled < kMaxFilled) {
        k = Known{key.a, key.b, size, text};
        ++memory.filled;
        memory.last = static_cast<int>(i);
      } else if (memory.lookups > 512 && memory.hits * 4 < memory.lookups) {
        memory.off = true; // mostly unique values: remembering them costs more than it saves
        memory.table = {};
      }
      return text;
    }
    if (same(k)) {
      ++memory.hits;
      memory.last = static_cast<int>(i);
      return k.text;
    }
  }
}

QString RecordSet::cellAt(int row, int c, bool trim) const
{
  const size_t i = static_cast<size_t>(row) * m_columns.size() + static_cast<size_t>(c);
  if (!m_rawOwner)
    return trim ? m_cells[i].trimmed() : m_cells[i];
  RawCell raw = m_raw[i];
  if (!raw.data)
    return QString();
  if (trim) {
    // Blanks around the bytes go first; a wider blank (an ideographic space) is left to
    // QString::trimmed below.
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (raw.size > 0 && blank(raw.data[0])) {
      ++raw.data;
      --raw.size;
    }
    while (raw.size > 0 && blank(raw.data[raw.size - 1]))
      --raw.size;
  }
  if (raw.size == 0)
    return QStringLiteral("");
  QString text = raw.size > 16 ? euckr::decode(raw.data, raw.size) : rememberedDecode(c, raw.data, raw.size);
  // at(), not front()/back(): those detach a text shared with the column memory (a copy per cell).
  if (trim && !text.isEmpty() && (text.at(0).isSpace() || text.at(text.size() - 1).isSpace()))
    return text.trimmed();
  return text;
}

bool RecordSet::cellIsNull(int row, int c) const
{
  const size_t i = static_cast<size_t>(row) * m_columns.size() + static_cast<size_t>(c);
  return m_rawOwner ? m_raw[i].data == nullptr : m_cells[i].isNull();
}

void RecordSet::close()
{
  requireOpen();
  m_open = false;
  m_cells.clear();
  m_raw.clear();
  m_recent.clear();
  m_rawOwner.reset();
  m_visible.clear();
  m_filter.reset();
  m_rows = 0;
  m_pos = 0;
}

void RecordSet::requireOpen() const
{
  if (!m_open)
    closedError();
}

int RecordSet::recordCount() const
{
  requireOpen();
  return m_filter ? static_cast<int>(m_visible.size()) : m_rows;
}

bool RecordSet::eof() const
{
  requireOpen();
  return m_pos >= recordCount();
}

bool RecordSet::bof() const
{
  requireOpen();
  return recordCount() == 0 || m_pos < 0;
}

void RecordSet::moveFirst()
{
  requireOpen();
  m_pos = 0;
}

void RecordSet::moveNext()
{
  requireOpen();
  if (m_pos >= recordCount())
    noCurrentRecord();
  ++m_pos;
}

void RecordSet::moveLast()
{
  requireOpen();
  m_pos = std::max(0, recordCount() - 1);
}

int RecordSet::columnIndex(const QString& name) const
{
  return m_index.value(name.toUpper(), -1);
}

QString RecordSet::value(const QString& column) const
{
  requireOpen();
  const int c = columnIndex(column);
  if (c < 0)
    unknownColumn(column);
  return value(c);
}

int RecordSet::currentRow(int c) const
{
  if (!m_open)
    closedError();
  if (c < 0 || c >= columnCount())
    unknownColumn(QString::number(c));
  const int count = m_filter ? static_cast<int>(m_visible.size()) : m_rows;
  if (m_pos < 0 || m_pos >= count)
    noCurrentRecord();
  return m_filter ? m_visible[static_cast<size_t>(m_pos)] : m_pos;
}

QString RecordSet::trimmedValue(int c) const
{
  QString v = cellAt(currentRow(c), c, true);
  // Two returns, not a conditional: `cond ? literal : v` would copy v (two atomic
  // reference counts per cell) instead of moving it.
  if (v.isNull())
    return QStringLiteral("");
  return v;
}

QString RecordSet::value(int c) const
{
  // The hot path of every load: one check of each kind, then the cell.
  QString v = cellAt(currentRow(c), c);
  if (v.isNull())
    return QStringLiteral("");
  return v;
}

bool RecordSet::isNull(const QString& column) const
{
  requireOpen();
  const int c = columnIndex(column);
  if (c < 0)
    unknownColumn(column);
  return cellIsNull(currentRow(c), c);
}

void RecordSet::setFilter(const QString& expression)
{
  requireOpen();
  m_visible.clear();
  m_pos = 0;
  if (expression.trimmed().isEmpty()) {
    m_filter.reset();
    return;
  }
  RecordFilter filter = RecordFilter::parse(expression);
  int row = 0;
  const auto lookup = [&](const QString& column, QString* out) {
    const int c = columnIndex(column);
    if (c < 0)
      return false;
    *out = cellAt(row, c);
    return true;
  };
  std::vector<int> visible;
  for (row = 0; row < m_rows; ++row)
    if (filter.matches(lookup))
      visible.push_back(row);
  m_filter = std::move(filter);
  m_visible = std::move(visible);
}

} // namespace vcm

namespace vcm {

double RecordSet::number(int c) const
{
  const int row = currentRow(c);
  if (m_rawOwner) {
    // Plain whole numbers, as the server sends integer and decimal(…,0) columns, are read
    // straight from the bytes.
    const RawCell& raw = m_raw[static_cast<size_t>(row) * m_columns.size() + static_cast<size_t>(c)];
    if (!raw.data)
      return 0;
    if (raw.size > 0 && raw.size <= 15) {
      const bool negative = raw.data[0] == '-';
      quint32 i = negative ? 1 : 0;
      qint64 whole = 0;
      for (; i < raw.size && raw.data[i] >= '0' && raw.data[i] <= '9'; ++i)
        whole = whole * 10 + (raw.data[i] - '0');
      if (i == raw.size && raw.size > (negative ? 1u : 0u))
        return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
    }
  }
  return numVal(cellAt(row, c));
}

} // namespace vcm
