// Exported workbooks read back by independent readers: xlrd (with formatting) for .xls,
// openpyxl for .xlsx. Both see the same layout, so one table of checks serves both.
#include "ExportTestSupport.h"

#include "common/Session.h"
#include "common/export/CompoundFile.h"
#include "common/export/ExcelExport.h"
#include "platform/ScriptedUi.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vcm;

namespace {

QJsonObject at(const QJsonObject& book, int row, int col)
{
  return book[QStringLiteral("cells")].toArray()[row].toArray()[col].toObject();
}

class WorkbookReadBack : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(WorkbookReadBack, LayoutAsTheReaderSeesIt)
{
  ScopedScriptedUi ui;
  QTemporaryDir dir;
  qputenv("VCM_PROGRAM_DIR", dir.path().toUtf8());
  Grid grid;
  test::fillSampleList(grid);
  const QString longText(40000, QChar(u'가'));
  grid.setText(2, 2, longText);
  const QString path = dir.filePath(QStringLiteral("목록") + QLatin1String(GetParam()));
  ui->saveAnswers.enqueue(path);
  const QString title = QStringLiteral("가나다센터_거래내역(2015.03월분)");
  g_EXCEL_CH(grid, title, title, QStringLiteral("&HF8E7F1"), 1, true, 0);
  ASSERT_EQ(ui->texts(), QStringList{QStringLiteral("엑셀파일이 정상적으로 저장되었습니다.")});

  const QJsonObject book = test::readWorkbook(path);
  ASSERT_FALSE(book.isEmpty());
  EXPECT_EQ(book["sheets"].toArray(), QJsonArray{"List"});
  EXPECT_EQ(book["rows"].toInt(), 3 + 3);
  EXPECT_EQ(book["columns"].toInt(), 4 + 1) << "the grid's columns and one empty column";
  EXPECT_EQ(book["merged"].toArray(), (QJsonArray{QJsonArray{0, 1, 0, 4}}));
  EXPECT_EQ(book["hiddenColumns"].toArray(), QJsonArray{3});
  EXPECT_EQ(book["hiddenRows"].toArray(), QJsonArray{});
  const QJsonArray heights = book["heights"].toArray();
  EXPECT_EQ(heights[0].toDouble(), 18);
  EXPECT_EQ(heights[1].toDouble(), 18);
  EXPECT_EQ(heights[2].toDouble(), 15) << "caption text height and three more";
  EXPECT_EQ(heights[4].toDouble(), 20);
  const QJsonArray widths = book["widths"].toArray();
  // The grid's widths, widened where a date or an amount would not fit: a date of ten
  // characters, an amount of fifteen (123,456,789,012), one unit to spare; text with
  // blanks or Hangul keeps the grid's width and is cut at its edge.
  const double sheetWidths[] = {11, 17.37, 16};
  for (int c = 0; c < 3; ++c) {
    // .xlsx stores the width with the cell padding added.
    EXPECT_GE(widths[c].toDouble(), sheetWidths[c] - 0.01) << c;
    EXPECT_LT(widths[c].toDouble(), sheetWidths[c] + 1) << c;
  }

  // One page wide in landscape A4, the title and caption rows on every page and frozen.
  const QJsonObject print = book["print"].toObject();
  EXPECT_TRUE(print["landscape"].toBool());
  EXPECT_EQ(print["paper"].toInt(), 9);
  EXPECT_TRUE(print["fitToPage"].toBool());
  EXPECT_EQ(print["fitWidth"].toInt(), 1);
  EXPECT_EQ(print["fitHeight"].toInt(), 0) << "as many pages down as the rows need";
  EXPECT_EQ(print["titleRows"].toArray(), (QJsonArray{0, 2}));
  EXPECT_EQ(print["frozenRows"].toInt(), 3);

  const QJsonObject titleCell = at(book, 0, 0);
  EXPECT_EQ(titleCell["value"].toString(), title);
  EXPECT_TRUE(titleCell["bold"].toBool());
  EXPECT_EQ(titleCell["size"].toDouble(), 13);
  EXPECT_EQ(titleCell["fontColour"].toString(), "000000");
  EXPECT_EQ(titleCell["hAlign"].toInt(), 2);

  const char16_t* captions[] = {u"거래일자", u"적요", u"수입금액", u"계좌CD", u""};
  for (int c = 0; c < 5; ++c) {
    const QJsonObject caption = at(book, 2, c);
    EXPECT_EQ(caption["value"].toString(), QString::fromUtf16(captions[c])) << c;
    EXPECT_EQ(caption["fill"].toString(), "F1E7F8") << c;
    EXPECT_EQ(caption["hAlign"].toInt(), 2) << c;
    EXPECT_FALSE(caption["bold"].toBool()) << c;
  }

  // openpyxl gives the inner cells of a merged block no style of their own.
  const bool mergedStyled = QLatin1String(GetParam()) == QLatin1String(".xls");
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 5; ++c) {
      if (r < 2 && (r > 0 || c > 0) && !mergedStyled)
        continue;
      const QJsonObject cell = at(book, r, c);
      EXPECT_EQ(cell["borders"].toArray(), (QJsonArray{1, 1, 1, 1})) << r << "," << c;
      EXPECT_EQ(cell["borderColours"].toArray(), (QJsonArray{"000080", "000080", "000080", "000080"}))
          << r << "," << c;
      if (r != 2) {
        EXPECT_EQ(cell["fill"].toString(), "FFFFFF") << "white sheet " << r << "," << c;
      }
    }
  }

  struct Expected {
    int row, col;
    const char* type;
    QJsonValue value;
    const char* format;
  };
  const Expected data[] = {
      {3, 0, "text", "2015.03.01", "General"},
      {3, 1, "text", QString::fromUtf16(u"가나다센터 운영비"), "General"},
      {3, 2, "number", 1234.0, "#,##0"},
      {4, 2, "number", -56000.0, "#,##0"},
      {5, 2, "number", 123456789012.0, "#,##0"},
      {5, 1, "text", QString::fromUtf16(u"급식비(3월)"), "General"},
      {5, 3, "text", "B3", "General"},
      {3, 4, "blank", QJsonValue(), "General"},
  };
  for (const Expected& e : data) {
    const QJsonObject cell = at(book, e.row, e.col);
    EXPECT_EQ(cell["type"].toString(), e.type) << e.row << "," << e.col;
    EXPECT_EQ(cell["value"], e.value) << e.row << "," << e.col;
    EXPECT_EQ(cell["format"].toString(), e.format) << e.row << "," << e.col;
  }
  EXPECT_EQ(at(book, 4, 1)["value"].toString(), longText.left(32767)) << "cut to the format's limit";
  EXPECT_EQ(at(book, 3, 0)["hAlign"].toInt(), 2) << "the grid's alignment";
  EXPECT_EQ(at(book, 4, 0)["fontColour"].toString(), "FF0000") << "the grid's text colour";
}

INSTANTIATE_TEST_SUITE_P(Formats, WorkbookReadBack, ::testing::Values(".xls", ".xlsx"));

TEST(WorkbookReadBack, ColoursOfTheGridWithoutWhiteSheet)
{
  ScopedScriptedUi ui;
  QTemporaryDir dir;
  Grid grid;
  test::fillSampleList(grid);
  const QString path = dir.filePath(QStringLiteral("colours.xls"));
  ui->saveAnswers.enqueue(path);
  g_EXCEL_CH(grid, "x", "x", QStringLiteral("&HF8E7F1"), 1, false, 0);
  const QJsonObject book = test::readWorkbook(path);
  EXPECT_EQ(at(book, 3, 0)["fill"].toString(), "FFFFFF");
  EXPECT_EQ(at(book, 4, 0)["fill"].toString(), "FFFF99") << "&H99FFFF";
  EXPECT_EQ(at(book, 2, 0)["fill"].toString(), "F1E7F8");
}

TEST(CompoundFile, StreamsReadBackByAnIndependentReader)
{
  // Short streams live in the short-stream area, long ones in regular sectors; the huge
  // one needs more sector-table sectors than the header lists.
  QByteArray small("short stream");
  QByteArray huge(8 * 1024 * 1024, '\0');
  for (int i = 0; i < huge.size(); i += 7)
    huge[i] = char(i / 7);
  QByteArray exact4096(4096, 'x');
  QByteArray large;
  for (int i = 0; i < 3000; ++i)
    large += QByteArray::number(i) + ' ';
  QTemporaryDir dir;
  const QString path = dir.filePath("doc.bin");
  CompoundFile doc;
  doc.addStream("Small", {small});
  doc.addStream("Exact", {exact4096});
  doc.addStream("LargeInParts", {large.left(1000), large.mid(1000)});
  doc.addStream("Huge", {huge});
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(doc.write(file));
  file.close();

  const QString out = test::runWorkbookReader({QStringLiteral("--streams"), test::hostPath(path), QStringLiteral("Small"),
                                               QStringLiteral("Exact"), QStringLiteral("LargeInParts"),
                                               QStringLiteral("Huge")});
  auto line = [](const char* name, const QByteArray& data) {
    return QStringLiteral("%1 %2 %3\n")
        .arg(QLatin1String(name))
        .arg(data.size())
        .arg(QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex()));
  };
  EXPECT_EQ(out, line("Small", small) + line("Exact", exact4096) + line("LargeInParts", large) +
                     line("Huge", huge));
}

TEST(WorkbookReadBack, MoreColoursThanThePaletteHoldsTakeTheNearest)
{
  ScopedScriptedUi ui;
  QTemporaryDir dir;
  Grid grid(1, 70);
  for (int r = 1; r <= 70; ++r) {
    grid.setText(1, r, QString::number(r));
    grid.setBackground(CellRange::row(r), colours::fromRgb(r * 3, 255 - r * 3, 100));
  }
  const QString path = dir.filePath(QStringLiteral("palette.xls"));
  ui->saveAnswers.enqueue(path);
  g_EXCEL_CH(grid, "x", "x", QStringLiteral("&HF8E7F1"), 1, false, 0);
  const QJsonObject book = test::readWorkbook(path, 73);
  EXPECT_EQ(at(book, 3, 0)["fill"].toString(), "03FC64");
  // Slots hold black, white, the border and caption colours, then the rows' in order;
  // the rows after the 52nd come closest to the 52nd's colour.
  for (int r = 1; r <= 70; ++r) {
    const int red = at(book, 2 + r, 0)["fill"].toString().left(2).toInt(nullptr, 16);
    EXPECT_EQ(red, std::min(r, 52) * 3) << r;
  }
}
