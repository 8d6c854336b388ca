#include "common/export/XlsWriter.h"

#include "common/export/CompoundFile.h"

#include <QHash>
#include <QIODevice>
#include <QtEndian>

#include <cmath>

namespace vcm {

namespace {

// Record identifiers of the BIFF8 records written here.
enum : quint16 {
  RecBof = 0x0809,
  RecEof = 0x000A,
  RecCodePage = 0x0042,
  RecWindow1 = 0x003D,
  RecDateMode = 0x0022,
  RecFont = 0x0031,
  RecFormat = 0x041E,
  RecXf = 0x00E0,
  RecStyle = 0x0293,
  RecPalette = 0x0092,
  RecBoundSheet = 0x0085,
  RecSst = 0x00FC,
  RecContinue = 0x003C,
  RecExtSst = 0x00FF,
  RecDefColWidth = 0x0055,
  RecColInfo = 0x007D,
  RecDimensions = 0x0200,
  RecRow = 0x0208,
  RecBlank = 0x0201,
  RecNumber = 0x0203,
  RecRk = 0x027E,
  RecLabelSst = 0x00FD,
  RecWindow2 = 0x023E,
  RecMergedCells = 0x00E5,
  // Printing and the frozen title rows.
  RecWsBool = 0x0081,
  RecHCenter = 0x0083,
  RecLeftMargin = 0x0026,
  RecRightMargin = 0x0027,
  RecTopMargin = 0x0028,
  RecBottomMargin = 0x0029,
  RecSetup = 0x00A1,
  RecPane = 0x0041,
  RecSelection = 0x001D,
  RecSupBook = 0x01AE,
  RecExternSheet = 0x0017,
  RecName = 0x0018,
};

constexpr int MaxRecordData = 8224;
constexpr int RowBlock = 32;
constexpr quint16 DefaultCellXf = 15;
constexpr quint16 FirstCellXf = 16;
constexpr quint16 FirstFont = 5; // font index 4 does not exist in the format
constexpr quint16 FirstFormat = 164;
constexpr quint8 FirstPaletteSlot = 8;
constexpr int PaletteSize = 56;
constexpr quint8 SystemForeground = 64;
constexpr quint8 SystemBackground = 65;
constexpr quint16 HangulCharset = 129;

// The format's standard palette (slots 8 to 63) as R, G, B.
constexpr quint32 DefaultPalette[PaletteSize] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

QString fontName() { return QStringLiteral("굴림"); }

// --- little-endian appends -------------------------------------------------------

void put8(QByteArray& out, quint8 v) { out.append(char(v)); }
void put16(QByteArray& out, quint16 v)
{
  char b[2];
  qToLittleEndian(v, b);
  out.append(b, 2);
}
void put32(QByteArray& out, quint32 v)
{
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}
void putDouble(QByteArray& out, double v)
{
  char b[8];
  qToLittleEndian(v, b);
  out.append(b, 8);
}
void putUtf16(QByteArray& out, const QChar* chars, qsizetype count)
{
  const qsizetype at = out.size();
  out.resize(at + count * 2);
  qToLittleEndian<quint16>(chars, count, out.data() + at);
}

/// Starts a record and returns where it starts; endRecord fills in its length.
qsizetype beginRecord(QByteArray& out, quint16 id)
{
  const qsizetype at = out.size();
  put16(out, id);
  put16(out, 0);
  return at;
}
void endRecord(QByteArray& out, qsizetype at)
{
  qToLittleEndian(quint16(out.size() - at - 4), out.data() + at + 2);
}
int recordRoom(const QByteArray& out, qsizetype at) { return MaxRecordData - int(out.size() - at - 4); }

/// A fixed-size record from 16-bit fields.
void smallRecord(QByteArray& out, quint16 id, std::initializer_list<quint16> fields)
{
  put16(out, id);
  put16(out, quint16(fields.size() * 2));
  for (quint16 f : fields)
    put16(out, f);
}

// --- the workbook's tables ---------------------------------------------------------

/// The 56 palette slots: colours the sheet uses take slots from 8 on, the others keep
/// the standard palette; beyond 56 colours the nearest slot stands in.
class Palette {
public:
  Palette()
  {
    for (int i = 0; i < PaletteSize; ++i) {
      const quint32 rgb = DefaultPalette[i];
      m_slots[i] = colours::fromRgb(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
    }
    index(colours::Black);
    index(colours::White);
  }

  quint8 index(Colour c)
  {
    auto it = m_index.constFind(c);
    if (it != m_index.constEnd())
      return *it;
    quint8 slot;
    if (m_used < PaletteSize) {
      m_slots[m_used] = c;
      slot = quint8(FirstPaletteSlot + m_used++);
    } else {
      slot = nearest(c);
    }
    m_index.insert(c, slot);
    return slot;
  }

  void write(QByteArray& out) const
  {
    const qsizetype rec = beginRecord(out, RecPalette);
    put16(out, PaletteSize);
    for (Colour c : m_slots) {
      put8(out, quint8(colours::red(c)));
      put8(out, quint8(colours::green(c)));
      put8(out, quint8(colours::blue(c)));
      put8(out, 0);
    }
    endRecord(out, rec);
  }

private:
  quint8 nearest(Colour c) const
  {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < m_used; ++i) {
      const long dr = colours::red(c) - colours::red(m_slots[i]);
      const long dg = colours::green(c) - colours::green(m_slots[i]);
      const long db = colours::blue(c) - colours::blue(m_slots[i]);
      const long d = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
    return quint8(FirstPaletteSlot + best);
  }

  Colour m_slots[PaletteSize];
  int m_used = 0;
  QHash<Colour, quint8> m_index;
};

struct Font {
  quint16 size10;
  bool bold;
  quint8 colour; // palette slot
};

struct CellFormat {
  quint16 font;
  quint16 format;
  quint8 alignment;
  quint8 fill; // palette slot
};

/// Fonts, number formats, cell formats and shared strings as the cells need them.
class Tables {
public:
  Palette palette;
  quint8 border = palette.index(ExportSheet::BorderColour);

  quint16 cellFormat(const SheetStyle& style)
  {
    auto it = m_xfIndex.constFind(style);
    if (it != m_xfIndex.constEnd())
      return *it;
    const quint16 index = quint16(FirstCellXf + m_xfs.size());
    m_xfs.append({font(style), numberFormat(style), alignment(style), palette.index(style.fill)});
    m_xfIndex.insert(style, index);
    return index;
  }

  quint32 string(const QString& text)
  {
    ++m_stringTotal;
    auto it = m_stringIndex.constFind(text);
    if (it != m_stringIndex.constEnd())
      return *it;
    const quint32 index = quint32(m_strings.size());
    m_strings.append(text);
    m_stringIndex.insert(text, index);
    return index;
  }

  void writeFonts(QByteArray& out) const;
  void writeFormats(QByteArray& out) const;
  void writeCellFormats(QByteArray& out) const;
  void writeStrings(QByteArray& out) const;

private:
  quint16 font(const SheetStyle& s)
  {
    const quint8 colour = palette.index(s.fontColour);
    const quint32 key = (quint32(s.fontSize10) << 16) | (quint32(s.bold) << 8) | colour;
    auto it = m_fontIndex.constFind(key);
    if (it != m_fontIndex.constEnd())
      return *it;
    const quint16 index = quint16(FirstFont + m_fonts.size());
    m_fonts.append({s.fontSize10, s.bold, colour});
    m_fontIndex.insert(key, index);
    return index;
  }

  quint16 numberFormat(const SheetStyle& s)
  {
    const QString text = s.numberFormat();
    if (text.isEmpty())
      return 0;
    auto it = m_formatIndex.constFind(text);
    if (it != m_formatIndex.constEnd())
      return *it;
    const quint16 index = quint16(FirstFormat + m_formats.size());
    m_formats.append(text);
    m_formatIndex.insert(text, index);
    return index;
  }

  static quint8 alignment(const SheetStyle& s)
  {
    return quint8(quint8(s.hAlign) | (quint8(s.vAlign) << 4));
  }

  QList<Font> m_fonts;
  QHash<quint32, quint16> m_fontIndex;
  QStringList m_formats;
  QHash<QString, quint16> m_formatIndex;
  QList<CellFormat> m_xfs;
  QHash<SheetStyle, quint16> m_xfIndex;
  QStringList m_strings;
  QHash<QString, quint32> m_stringIndex;
  quint32 m_stringTotal = 0;
};

void fontRecord(QByteArray& out, quint16 size10, bool bold, quint16 colour)
{
  const QString name = fontName();
  const qsizetype rec = beginRecord(out, RecFont);
  put16(out, quint16(size10 * 2)); // twentieths of a point
  put16(out, bold ? 1 : 0);        // the old bold flag, which some readers still use
  put16(out, colour);
  put16(out, bold ? 700 : 400);
  put16(out, 0);
  put8(out, 0);
  put8(out, 0);
  put8(out, quint8(HangulCharset));
  put8(out, 0);
  put8(out, quint8(name.size()));
  put8(out, 1); // UTF-16
  putUtf16(out, name.constData(), name.size());
  endRecord(out, rec);
}

void Tables::writeFonts(QByteArray& out) const
{
  // Fonts 0 to 3 belong to the built-in styles.
  for (int i = 0; i < 4; ++i)
    fontRecord(out, ExportSheet::DefaultFontSize10, false, 0x7FFF);
  for (const Font& f : m_fonts)
    fontRecord(out, f.size10, f.bold, f.colour);
}

void Tables::writeFormats(QByteArray& out) const
{
  for (int i = 0; i < m_formats.size(); ++i) {
    const QString& text = m_formats.at(i);
    const qsizetype rec = beginRecord(out, RecFormat);
    put16(out, quint16(FirstFormat + i));
    put16(out, quint16(text.size()));
    put8(out, 1);
    putUtf16(out, text.constData(), text.size());
    endRecord(out, rec);
  }
}

void xfRecord(QByteArray& out, quint16 font, quint16 format, quint16 typeAndParent,
              quint8 alignment, quint8 usedAttributes, quint32 border1, quint32 border2,
              quint16 fillColours)
{
  put16(out, RecXf);
  put16(out, 20);
  put16(out, font);
  put16(out, format);
  put16(out, typeAndParent);
  put8(out, alignment);
  put8(out, 0);
  put8(out, 0);
  put8(out, usedAttributes);
  put32(out, border1);
  put32(out, border2);
  put16(out, fillColours);
}

void Tables::writeCellFormats(QByteArray& out) const
{
  constexpr quint16 noFill = SystemForeground | (SystemBackground << 7);
  constexpr quint8 bottomAligned = 0x20;
  // Style formats 0 to 14 (Normal and the built-in styles), then the default cell format.
  for (int i = 0; i < 15; ++i)
    xfRecord(out, 0, 0, 0xFFF5, bottomAligned, i == 0 ? 0x00 : 0xF4, 0, 0, noFill);
  xfRecord(out, 0, 0, 0x0001, bottomAligned, 0x00, 0, 0, noFill);

  // Thin lines on all four sides in the border colour; solid fill.
  const quint32 border1 = 0x1111u | (quint32(border) << 16) | (quint32(border) << 23);
  const quint32 border2 = quint32(border) | (quint32(border) << 7) | (1u << 26);
  for (const CellFormat& xf : m_xfs)
    xfRecord(out, xf.font, xf.format, 0x0001, xf.alignment, 0xFC, border1, border2,
             quint16(xf.fill | (SystemForeground << 7)));
}

void Tables::writeStrings(QByteArray& out) const
{
  const int count = int(m_strings.size());
  const int perBucket = std::max(8, (count + 127) / 128);
  QByteArray ext;
  put16(ext, quint16(perBucket));

  qsizetype rec = beginRecord(out, RecSst);
  put32(out, m_stringTotal);
  put32(out, quint32(count));
  for (int i = 0; i < count; ++i) {
    const QString& s = m_strings.at(i);
    // The character count and flags never straddle two records.
    if (recordRoom(out, rec) < 5) {
      endRecord(out, rec);
      rec = beginRecord(out, RecContinue);
    }
    if (i % perBucket == 0) {
      put32(ext, quint32(out.size()));
      put16(ext, quint16(out.size() - rec));
      put16(ext, 0);
    }
    put16(out, quint16(s.size()));
    put8(out, 1);
    const QChar* chars = s.constData();
    qsizetype left = s.size();
    while (left > 0) {
      qsizetype fit = recordRoom(out, rec) / 2;
      if (fit == 0) {
        // The rest continues in the next record, which repeats the flags byte.
        endRecord(out, rec);
        rec = beginRecord(out, RecContinue);
        put8(out, 1);
        fit = recordRoom(out, rec) / 2;
      }
      const qsizetype n = std::min(fit, left);
      putUtf16(out, chars, n);
      chars += n;
      left -= n;
    }
  }
  endRecord(out, rec);

  put16(out, RecExtSst);
  put16(out, quint16(ext.size()));
  out.append(ext);
}

// --- the sheet ------------------------------------------------------------------------

void cellRecord(QByteArray& out, int row, int col, quint16 xf, const ExportSheet::Cell& cell,
                Tables& tables)
{
  char b[18];
  auto head = [&](quint16 id, quint16 length) {
    qToLittleEndian(id, b);
    qToLittleEndian(length, b + 2);
    qToLittleEndian(quint16(row), b + 4);
    qToLittleEndian(quint16(col), b + 6);
    qToLittleEndian(xf, b + 8);
  };
  switch (cell.type) {
  case ExportSheet::Cell::Blank:
    head(RecBlank, 6);
    out.append(b, 10);
    return;
  case ExportSheet::Cell::Text:
    head(RecLabelSst, 10);
    qToLittleEndian(tables.string(cell.text), b + 10);
    out.append(b, 14);
    return;
  case ExportSheet::Cell::Number: {
    // Whole numbers of up to 30 bits travel in the compact form.
    const double v = cell.number;
    if (v == std::floor(v) && v >= -536870912.0 && v < 536870912.0) {
      head(RecRk, 10);
      qToLittleEndian(quint32((qint32(v) * 4) | 2), b + 10);
      out.append(b, 14);
    } else {
      head(RecNumber, 14);
      qToLittleEndian(v, b + 10);
      out.append(b, 18);
    }
    return;
  }
  }
}

void rowRecord(QByteArray& out, int row, int columns, double points, bool hidden)
{
  const quint16 twips = quint16(std::clamp(std::lround(points * 20), 0L, 0x7FFFL));
  // 0x0100 is required, 0x0040 keeps the height as set, 0x0020 hides the row.
  smallRecord(out, RecRow,
              {quint16(row), 0, quint16(columns), twips, 0, 0, quint16(0x0140 | (hidden ? 0x20 : 0)),
               DefaultCellXf});
}

void marginRecord(QByteArray& out, quint16 id, double inches)
{
  put16(out, id);
  put16(out, 8);
  putDouble(out, inches);
}

/// The page settings block: fit to one page wide (the flag lives in WSBOOL), landscape
/// A4, narrow margins, centred across the page.
void pageSetup(QByteArray& out)
{
  // Outline symbols and summary rows as spreadsheet programs default them, plus fit to page.
  smallRecord(out, RecWsBool, {0x04C1 | 0x0100});
  smallRecord(out, RecHCenter, {1});
  marginRecord(out, RecLeftMargin, ExportSheet::SideMarginInches);
  marginRecord(out, RecRightMargin, ExportSheet::SideMarginInches);
  marginRecord(out, RecTopMargin, ExportSheet::TopMarginInches);
  marginRecord(out, RecBottomMargin, ExportSheet::TopMarginInches);
  const qsizetype rec = beginRecord(out, RecSetup);
  put16(out, ExportSheet::PaperA4);
  put16(out, 100); // scale, unused while fitting
  put16(out, 1);   // first page number
  put16(out, 1);   // pages wide
  put16(out, 0);   // pages tall: as many as needed
  put16(out, 0);   // flags: landscape; paper, orientation and resolution are set
  put16(out, 600);
  put16(out, 600);
  putDouble(out, ExportSheet::HeaderMarginInches);
  putDouble(out, ExportSheet::HeaderMarginInches);
  put16(out, 1); // copies
  endRecord(out, rec);
}

/// The rows above `rows` stay in place while the rest scroll.
void frozenRows(QByteArray& out, int rows)
{
  constexpr quint8 lowerLeftPane = 2;
  put16(out, RecPane);
  put16(out, 10);
  put16(out, 0);            // no columns frozen
  put16(out, quint16(rows)); // rows frozen
  put16(out, quint16(rows)); // first row shown below them
  put16(out, 0);
  put8(out, lowerLeftPane);
  put8(out, 0);
  // The cell cursor in the scrolling pane, on its first row.
  put16(out, RecSelection);
  put16(out, 15);
  put8(out, lowerLeftPane);
  put16(out, quint16(rows));
  put16(out, 0);
  put16(out, 0);
  put16(out, 1);
  put16(out, quint16(rows));
  put16(out, quint16(rows));
  put8(out, 0);
  put8(out, 0);
}

QByteArray sheetStream(const ExportSheet& sheet, Tables& tables)
{
  const int rows = sheet.rowCount();
  const int cols = sheet.columnCount();
  QByteArray out;
  out.reserve(qsizetype(rows) * cols * 12 + qsizetype(rows) * 20 + 4096);

  smallRecord(out, RecBof, {0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 0, 6, 0});
  pageSetup(out);
  smallRecord(out, RecDefColWidth, {quint16(ExportSheet::DefaultColumnWidth)});
  for (int c = 0; c < cols; ++c) {
    // Stored widths include the cell padding (five pixels of a seven-pixel digit), as
    // spreadsheet programs write them; the grid's width counts characters only.
    const double stored = (sheet.columnWidth(c) + 5.0 / 7.0) * 256;
    const quint16 width = quint16(std::clamp(std::lround(stored), 0L, 0xFFFFL));
    smallRecord(out, RecColInfo,
                {quint16(c), quint16(c), width, DefaultCellXf, quint16(sheet.isColumnHidden(c) ? 1 : 0), 0});
  }
  put16(out, RecDimensions);
  put16(out, 14);
  put32(out, 0);
  put32(out, quint32(rows));
  put16(out, 0);
  put16(out, quint16(cols));
  put16(out, 0);

  ExportSheet::Cell cell;
  for (int first = 0; first < rows; first += RowBlock) {
    const int last = std::min(rows, first + RowBlock);
    for (int r = first; r < last; ++r)
      rowRecord(out, r, cols, sheet.rowHeight(r), sheet.isRowHidden(r));
    for (int r = first; r < last; ++r) {
      for (int c = 0; c < cols; ++c) {
        sheet.cell(r, c, cell);
        cellRecord(out, r, c, tables.cellFormat(cell.style), cell, tables);
      }
    }
  }

  // 0x0008 and 0x0100: the panes below are frozen, without a split bar.
  smallRecord(out, RecWindow2, {0x06B6 | 0x0008 | 0x0100, 0, 0, 0x0040, 0, 0, 0, 0, 0});
  frozenRows(out, ExportSheet::RepeatedRows);
  smallRecord(out, RecMergedCells, {1, 0, 1, 0, quint16(sheet.titleLastColumn())});
  smallRecord(out, RecEof, {});
  return out;
}

/// The built-in name Print_Titles of the one sheet: its rows 1 to `rows` print at the top
/// of every page. A defined name refers to sheets through the external-sheet table, which
/// here lists the workbook's own sheet.
void printTitles(QByteArray& out, int rows)
{
  smallRecord(out, RecSupBook, {1, 0x0401}); // one sheet, in this workbook
  smallRecord(out, RecExternSheet, {1, 0, 0, 0});
  constexpr quint8 printTitlesName = 0x07;
  constexpr quint8 area3d = 0x3B;
  const qsizetype rec = beginRecord(out, RecName);
  put16(out, 0x0020); // built-in
  put8(out, 0);       // no shortcut key
  put8(out, 1);       // the name is one character: the built-in code
  put16(out, 11);     // formula size
  put16(out, 0);
  put16(out, 1); // scope: the first sheet (numbered from 1)
  put32(out, 0); // no menu, description, help or status texts
  put8(out, 0);  // the name's characters are 8-bit
  put8(out, printTitlesName);
  put8(out, area3d);
  put16(out, 0); // external-sheet entry 0
  put16(out, 0);
  put16(out, quint16(rows - 1));
  put16(out, 0);
  put16(out, 0x00FF); // every column: whole rows
  endRecord(out, rec);
}

QByteArray globalsStream(const Tables& tables)
{
  QByteArray out;
  smallRecord(out, RecBof, {0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 0, 6, 0});
  smallRecord(out, RecCodePage, {1200});
  smallRecord(out, RecWindow1, {0x01E0, 0x005A, 0x3FCF, 0x2A4E, 0x0038, 0, 0, 1, 0x0258});
  smallRecord(out, RecDateMode, {0});
  tables.writeFonts(out);
  tables.writeFormats(out);
  tables.writeCellFormats(out);
  smallRecord(out, RecStyle, {0x8000, 0xFF00});
  tables.palette.write(out);

  const QString name = QStringLiteral("List");
  const qsizetype sheetRecord = beginRecord(out, RecBoundSheet);
  put32(out, 0); // position of the sheet, filled in below
  put8(out, 0);  // visible
  put8(out, 0);  // worksheet
  put8(out, quint8(name.size()));
  put8(out, 1);
  putUtf16(out, name.constData(), name.size());
  endRecord(out, sheetRecord);

  printTitles(out, ExportSheet::RepeatedRows);
  tables.writeStrings(out);
  smallRecord(out, RecEof, {});
  // The sheet follows the globals directly.
  qToLittleEndian(quint32(out.size()), out.data() + sheetRecord + 4);
  return out;
}

} // namespace

bool XlsWriter::write(const ExportSheet& sheet, QIODevice& out)
{
  if (sheet.rowCount() > MaxRows || sheet.columnCount() > MaxColumns)
    return false;
  Tables tables;
  const QByteArray cells = sheetStream(sheet, tables);
  const QByteArray globals = globalsStream(tables);
  // Readers do not accept the workbook in the short-stream area, so it is padded to the
  // size from which streams live in regular sectors.
  const qsizetype size = globals.size() + cells.size();
  const QByteArray padding(std::max<qsizetype>(0, 4096 - size), '\0');

  CompoundFile doc;
  doc.addStream(QStringLiteral("Workbook"), {globals, cells, padding});
  return doc.write(out);
}

} // namespace vcm
