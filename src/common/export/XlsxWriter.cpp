#include "common/export/XlsxWriter.h"

#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <memory>

namespace vcm {

namespace {

lxw_color_t rgb(Colour c)
{
  const lxw_color_t v = (lxw_color_t(colours::red(c)) << 16) | (lxw_color_t(colours::green(c)) << 8) |
                        lxw_color_t(colours::blue(c));
  return v ? v : lxw_color_t(LXW_COLOR_BLACK); // 0 means "unset" to the library
}

quint8 horizontal(HAlign a)
{
  switch (a) {
  case HAlign::Left: return LXW_ALIGN_LEFT;
  case HAlign::Centre: return LXW_ALIGN_CENTER;
  case HAlign::Right: return LXW_ALIGN_RIGHT;
  case HAlign::General: break;
  }
  return LXW_ALIGN_NONE;
}

quint8 vertical(VAlign a)
{
  switch (a) {
  case VAlign::Top: return LXW_ALIGN_VERTICAL_TOP;
  case VAlign::Centre: return LXW_ALIGN_VERTICAL_CENTER;
  case VAlign::Bottom: return LXW_ALIGN_VERTICAL_BOTTOM;
  }
  return LXW_ALIGN_VERTICAL_CENTER;
}

class Formats {
public:
  explicit Formats(lxw_workbook* book) : m_book(book) {}

  lxw_format* get(const SheetStyle& s)
  {
    auto it = m_formats.constFind(s);
    if (it != m_formats.constEnd())
      return *it;
    lxw_format* f = workbook_add_format(m_book);
    format_set_font_name(f, "굴림");
    format_set_font_size(f, s.fontSize10 / 10.0);
    format_set_font_color(f, rgb(s.fontColour));
    if (s.bold)
      format_set_bold(f);
    format_set_pattern(f, LXW_PATTERN_SOLID);
    format_set_bg_color(f, rgb(s.fill));
    format_set_border(f, LXW_BORDER_THIN);
    format_set_border_color(f, rgb(ExportSheet::BorderColour));
    if (const quint8 h = horizontal(s.hAlign))
      format_set_align(f, h);
    format_set_align(f, vertical(s.vAlign));
    const QString number = s.numberFormat();
    if (!number.isEmpty())
      format_set_num_format(f, number.toUtf8().constData());
    m_formats.insert(s, f);
    return f;
  }

private:
  lxw_workbook* m_book;
  QHash<SheetStyle, lxw_format*> m_formats;
};

/// Prints as the .xls does: landscape A4, one page wide, the title rows on every page and
/// frozen above the scrolling rows.
bool setUpPages(lxw_worksheet* ws)
{
  const int titles = ExportSheet::RepeatedRows;
  worksheet_set_landscape(ws);
  worksheet_set_paper(ws, ExportSheet::PaperA4);
  worksheet_fit_to_pages(ws, 1, 0);
  worksheet_center_horizontally(ws);
  worksheet_set_margins(ws, ExportSheet::SideMarginInches, ExportSheet::SideMarginInches,
                        ExportSheet::TopMarginInches, ExportSheet::TopMarginInches);
  worksheet_freeze_panes(ws, lxw_row_t(titles), 0);
  return worksheet_repeat_rows(ws, 0, lxw_row_t(titles - 1)) == LXW_NO_ERROR;
}

bool writeSheet(const ExportSheet& sheet, lxw_workbook* book)
{
  lxw_worksheet* ws = workbook_add_worksheet(book, "List");
  if (!ws || !setUpPages(ws))
    return false;
  Formats formats(book);
  const int rows = sheet.rowCount();
  const int cols = sheet.columnCount();
  for (int c = 0; c < cols; ++c) {
    lxw_row_col_options hidden{1, 0, 0};
    worksheet_set_column_opt(ws, lxw_col_t(c), lxw_col_t(c), sheet.columnWidth(c), nullptr,
                             sheet.isColumnHidden(c) ? &hidden : nullptr);
  }

  ExportSheet::Cell cell;
  sheet.cell(0, 0, cell);
  if (worksheet_merge_range(ws, 0, 0, 1, lxw_col_t(sheet.titleLastColumn()),
                            cell.text.toUtf8().constData(), formats.get(cell.style)) != LXW_NO_ERROR)
    return false;
  for (int r = 0; r < rows; ++r) {
    lxw_row_col_options hidden{1, 0, 0};
    worksheet_set_row_opt(ws, lxw_row_t(r), sheet.rowHeight(r), nullptr,
                          sheet.isRowHidden(r) ? &hidden : nullptr);
    if (r < 2)
      continue; // the merged title block
    for (int c = 0; c < cols; ++c) {
      sheet.cell(r, c, cell);
      lxw_format* f = formats.get(cell.style);
      lxw_error e = LXW_NO_ERROR;
      switch (cell.type) {
      case ExportSheet::Cell::Blank: e = worksheet_write_blank(ws, lxw_row_t(r), lxw_col_t(c), f); break;
      case ExportSheet::Cell::Number:
        e = worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), cell.number, f);
        break;
      case ExportSheet::Cell::Text:
        e = worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c), cell.text.toUtf8().constData(), f);
        break;
      }
      if (e != LXW_NO_ERROR)
        return false;
    }
  }
  return true;
}

} // namespace

bool XlsxWriter::write(const ExportSheet& sheet, QIODevice& out)
{
  if (sheet.rowCount() > MaxRows || sheet.columnCount() > MaxColumns)
    return false;
  // The library writes to a named file; the caller's device decides where the bytes end
  // up (beside the target, renamed into place), so the workbook goes through a
  // temporary file first.
  QTemporaryFile temp;
  if (!temp.open())
    return false;
  temp.close();
  const QByteArray name = QFile::encodeName(temp.fileName());
  lxw_workbook* book = workbook_new(name.constData());
  if (!book)
    return false;
  const bool written = writeSheet(sheet, book);
  if (workbook_close(book) != LXW_NO_ERROR || !written)
    return false;

  QFile in(temp.fileName());
  if (!in.open(QIODevice::ReadOnly))
    return false;
  char buffer[65536];
  for (;;) {
    const qint64 n = in.read(buffer, sizeof buffer);
    if (n < 0)
      return false;
    if (n == 0)
      return true;
    if (out.write(buffer, n) != n)
      return false;
  }
}

} // namespace vcm
