#include "common/export/ExportSheet.h"

#include <algorithm>
#include <cmath>

namespace vcm {

QString SheetStyle::numberFormat() const
{
  if (decimals < 0)
    return QString();
  QString f = separator ? QStringLiteral("#,##0") : QStringLiteral("0");
  if (decimals > 0)
    f += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
  return f;
}

size_t qHash(const SheetStyle& s, size_t seed)
{
  const quint64 a = (quint64(s.fontColour) << 32) | s.fill;
  const quint64 b = (quint64(s.fontSize10) << 32) | (quint64(s.bold) << 24) |
                    (quint64(s.hAlign) << 20) | (quint64(s.vAlign) << 16) |
                    (quint64(quint8(s.decimals)) << 8) | quint64(s.separator);
  return qHashMulti(seed, a, b);
}

namespace {

/// Character units a value takes: a digit is one (the unit of column widths), a wide
/// character two. -1 for text that may be cut at the column's edge (it has blanks or wide
/// characters: words, names, captions).
int compactUnits(const QString& text, bool number)
{
  if (number)
    return int(text.size());
  for (const QChar c : text)
    if (c.isSpace() || c.unicode() >= 0x1100)
      return -1;
  return int(text.size());
}

/// One unit more than the value, as room for narrow fonts' wider punctuation.
constexpr int kCompactSlack = 1;
/// Compact values longer than this are left to be cut like any text.
constexpr int kCompactLimit = 40;

void cutToLimit(QString& text)
{
  if (text.size() <= ExportSheet::MaxTextLength)
    return;
  int cut = ExportSheet::MaxTextLength;
  if (text.at(cut - 1).isHighSurrogate())
    --cut;
  text.truncate(cut);
}

} // namespace

Colour resolveColour(Colour colour, Colour fallback)
{
  if (!colours::isSystem(colour))
    return colour & 0xFFFFFF;
  switch (colour) {
  case colours::ButtonFace: return colours::fromRgb(240, 240, 240);
  case colours::Window: return colours::White;
  case colours::WindowText: return colours::Black;
  default: return fallback;
  }
}

ExportSheet::ExportSheet(const Grid& grid, const QString& title, Colour captionBack,
                         bool whiteSheet)
    : m_grid(grid), m_title(title), m_captionBack(resolveColour(captionBack, colours::White)),
      m_whiteSheet(whiteSheet)
{
  measureCompactValues();
}

void ExportSheet::measureCompactValues()
{
  const int cols = m_grid.columnCount();
  const int rows = m_grid.rowCount();
  m_compactWidth.fill(0, cols);
  for (int c = 1; c <= cols; ++c) {
    if (m_grid.isColumnHidden(c))
      continue;
    int widest = 0;
    for (int r = 1; r <= rows; ++r) {
      const int units = compactUnits(m_grid.text(c, r), m_grid.cellType(c, r) == CellType::Number);
      if (units <= kCompactLimit)
        widest = std::max(widest, units);
    }
    m_compactWidth[c - 1] = widest;
  }
}

void ExportSheet::cell(int row, int col, Cell& out) const
{
  out.type = Cell::Blank;
  out.style = SheetStyle{};
  if (row < TitleRows) {
    // Title and caption rows are plain text cells, centred.
    out.style.hAlign = HAlign::Centre;
    if (row == 2) {
      out.style.fill = m_captionBack;
      if (col < m_grid.columnCount())
        out.text = m_grid.text(col + 1, 0);
      else
        out.text.clear();
    } else {
      out.style.bold = true;
      out.style.fontSize10 = 130;
      if (row == 0 && col == 0)
        out.text = m_title;
      else
        out.text.clear();
    }
    if (!out.text.isEmpty()) {
      out.type = Cell::Text;
      cutToLimit(out.text);
    }
    return;
  }

  const int gc = col + 1;
  const int gr = row - TitleRows + 1;
  if (gc > m_grid.columnCount())
    return;
  SheetStyle& s = out.style;
  s.fill = m_whiteSheet ? colours::White : resolveColour(m_grid.background(gc, gr), colours::White);
  s.fontColour = resolveColour(m_grid.foreground(gc, gr), colours::Black);
  s.bold = m_grid.isBold(gc, gr);
  const double size = m_grid.fontSize(gc, gr);
  if (size > 0)
    s.fontSize10 = quint16(std::lround(size * 10));
  s.hAlign = m_grid.horizontalAlignment(gc, gr);
  s.vAlign = m_grid.verticalAlignment(gc, gr);

  const CellKind& kind = m_grid.kind(gc, gr);
  if (kind.type == CellType::Number) {
    s.decimals = qint8(std::clamp(kind.decimals, 0, 30));
    s.separator = kind.separator;
    if (m_grid.storedNumber(gc, gr, out.number))
      out.type = Cell::Number;
    return;
  }
  out.text = m_grid.text(gc, gr);
  if (out.text.isEmpty())
    return;
  out.type = Cell::Text;
  cutToLimit(out.text);
}

double ExportSheet::columnWidth(int col) const
{
  const double w = col < m_grid.columnCount() ? m_grid.columnWidth(col + 1) : 0;
  const double set = w > 0 ? w : DefaultColumnWidth;
  const int compact = col < m_compactWidth.size() ? m_compactWidth.at(col) : 0;
  return compact > 0 ? std::max(set, double(compact + kCompactSlack)) : set;
}

bool ExportSheet::isColumnHidden(int col) const
{
  return col < m_grid.columnCount() && m_grid.isColumnHidden(col + 1);
}

double ExportSheet::rowHeight(int row) const
{
  if (row < 2)
    return TitleRowHeight;
  if (row == 2) {
    // The height the caption text needs (one line of the default font per line of the
    // tallest caption), and three points more.
    int lines = 1;
    for (int c = 1; c <= m_grid.columnCount(); ++c)
      lines = std::max(lines, int(m_grid.text(c, 0).count(QLatin1Char('\n'))) + 1);
    return lines * std::round(DefaultFontSize10 / 10.0 * 4 / 3) + 3;
  }
  const double h = m_grid.rowHeight(row - TitleRows + 1);
  return h > 0 ? h : DefaultRowHeight;
}

bool ExportSheet::isRowHidden(int row) const
{
  return row >= TitleRows && m_grid.isRowHidden(row - TitleRows + 1);
}

} // namespace vcm
