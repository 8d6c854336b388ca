#include "common/grid/Grid.h"
#include "common/grid/NumberText.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include <vector>

using namespace vcm;

namespace {

// A grid whose cell (c, r) reads "r<r>c<c>", with a style of each layer on known rows.
void fill(Grid& g)
{
  for (int r = 1; r <= g.rowCount(); ++r)
    for (int c = 1; c <= g.columnCount(); ++c)
      g.setText(c, r, QStringLiteral("r%1c%2").arg(r).arg(c));
}

struct Recorder : GridListener {
  int resets = 0, inserted = 0, removed = 0, cells = 0, layouts = 0, actives = 0;
  QRect lastCells;
  void gridReset() override { ++resets; }
  void gridRowsInserted(int, int) override { ++inserted; }
  void gridRowsRemoved(int, int) override { ++removed; }
  void gridCellsChanged(int c1, int r1, int c2, int r2) override
  {
    ++cells;
    lastCells = QRect(QPoint(c1, r1), QPoint(c2, r2));
  }
  void gridLayoutChanged() override { ++layouts; }
  void gridActiveCellChanged() override { ++actives; }
  void gridRedrawChanged(bool) override {}
};

} // namespace

// Rows carry their texts, row styles, cell styles, tags and heights through inserts and
// deletes; the table gives, for each row after the operation, the original row it shows
// (0: a new empty row).
TEST(Grid, InsertAndDeleteKeepRowsTogether)
{
  struct Case {
    const char* name;
    bool insert;
    int at, count;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"insert in the middle", true, 3, 2, {1, 2, 0, 0, 3, 4, 5}},
      {"insert at the top", true, 1, 1, {0, 1, 2, 3, 4, 5}},
      {"append", true, 6, 1, {1, 2, 3, 4, 5, 0}},
      {"delete in the middle", false, 2, 2, {1, 4, 5}},
      {"delete the last", false, 5, 1, {1, 2, 3, 4}},
      {"delete past the end is clipped", false, 4, 10, {1, 2, 3}},
      {"insert beyond the end is ignored", true, 9, 1, {1, 2, 3, 4, 5}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Grid g(3, 5);
    fill(g);
    for (int r = 1; r <= 5; ++r) {
      g.setBackground(CellRange::row(r), Colour(0x100 + r));   // row layer
      g.setForeground(CellRange::cell(2, r), Colour(0x200 + r)); // cell layer
      g.setTag(CellRange::cell(1, r), QString::number(r));
      g.setRowHeight(r, 10 + r);
    }
    if (tc.insert)
      g.insertRows(tc.at, tc.count);
    else
      g.deleteRows(tc.at, tc.count);
    ASSERT_EQ(g.rowCount(), int(tc.expected.size()));
    for (int r = 1; r <= g.rowCount(); ++r) {
      const int old = tc.expected[size_t(r - 1)];
      SCOPED_TRACE(r);
      if (old == 0) {
        EXPECT_EQ(g.text(1, r), QString());
        EXPECT_EQ(g.background(1, r), colours::White);
        EXPECT_EQ(g.foreground(2, r), colours::Black);
        EXPECT_EQ(g.tag(1, r), QString());
        EXPECT_EQ(g.rowHeight(r), 0);
      } else {
        EXPECT_EQ(g.text(3, r), QStringLiteral("r%1c3").arg(old));
        EXPECT_EQ(g.background(3, r), Colour(0x100 + old));
        EXPECT_EQ(g.foreground(2, r), Colour(0x200 + old));
        EXPECT_EQ(g.foreground(1, r), colours::Black);
        EXPECT_EQ(g.tag(1, r), QString::number(old));
        EXPECT_EQ(g.rowHeight(r), 10 + old);
      }
    }
  }
}

TEST(Grid, ShrinkingForgetsRowsSoRegrownRowsAreClean)
{
  Grid g(2, 4);
  fill(g);
  g.setBackground(CellRange::row(4), 0x123456);
  g.setTag(CellRange::cell(2, 4), QStringLiteral("x"));
  g.addSpan(1, 4, 2, 1);
  g.setRowCount(2);
  g.setRowCount(4);
  EXPECT_EQ(g.text(1, 4), QString());
  EXPECT_EQ(g.background(1, 4), colours::White);
  EXPECT_EQ(g.tag(2, 4), QString());
  EXPECT_TRUE(g.spans().isEmpty());
  EXPECT_EQ(g.text(2, 2), QStringLiteral("r2c2"));
}

// The search popup sorts by visible columns and reads the ledger row number back from a
// hidden one, so whole rows must move.
TEST(Grid, SortMovesWholeRowsIncludingHiddenColumns)
{
  struct Row {
    const char* date;
    double amount;
    const char* id;
  };
  const Row rows[] = {{"2024.01.03", 500, "1"}, {"2024.01.01", 20000, "2"}, {"", 75, "3"},
                      {"2024.01.02", 500, "4"}, {"2024.01.01", 0, "5"}};
  struct Case {
    const char* name;
    int key;
    SortOrder order;
    QStringList ids;
  };
  const Case cases[] = {
      {"text ascending, empty first, ties stable", 1, SortOrder::Ascending, {"3", "2", "5", "4", "1"}},
      {"text descending", 1, SortOrder::Descending, {"1", "4", "2", "5", "3"}},
      {"numbers numerically, not as text", 2, SortOrder::Ascending, {"5", "3", "1", "4", "2"}},
      {"numbers descending, ties stable", 2, SortOrder::Descending, {"2", "1", "4", "3", "5"}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Grid g(3, 5);
    g.setNumberCells(CellRange::column(2), -1e9, 1e9);
    g.setColumnHidden(3, true);
    for (int r = 1; r <= 5; ++r) {
      g.setText(1, r, QString::fromLatin1(rows[r - 1].date));
      g.setNumber(2, r, rows[r - 1].amount);
      g.setText(3, r, QString::fromLatin1(rows[r - 1].id));
      g.setBackground(CellRange::row(r), Colour(r));
    }
    g.sortRows(1, 5, tc.key, tc.order);
    QStringList ids;
    for (int r = 1; r <= 5; ++r) {
      ids << g.text(3, r);
      EXPECT_EQ(g.background(1, r), Colour(g.text(3, r).toInt())) << "row colour follows its row";
    }
    EXPECT_EQ(ids, tc.ids);
    EXPECT_TRUE(g.isColumnHidden(3));
  }
}

TEST(Grid, SortOfPartialRangeLeavesOtherRowsAlone)
{
  Grid g(1, 5);
  const QStringList texts{"e", "d", "c", "b", "a"};
  for (int r = 1; r <= 5; ++r)
    g.setText(1, r, texts[r - 1]);
  g.sortRows(2, 4, 1, SortOrder::Ascending);
  QStringList got;
  for (int r = 1; r <= 5; ++r)
    got << g.text(1, r);
  EXPECT_EQ(got, (QStringList{"e", "b", "c", "d", "a"}));
}

TEST(Grid, SearchFindsExactTextsOnly)
{
  Grid g(2, 4);
  g.setText(2, 0, QStringLiteral("코드"));
  g.setText(2, 1, QStringLiteral("101"));
  g.setText(2, 2, QStringLiteral("1011"));
  g.setText(2, 3, QStringLiteral(" 102"));
  g.setText(2, 4, QStringLiteral("102"));
  struct Case {
    QString text;
    int from, to, expected;
  };
  const Case cases[] = {
      {"101", 0, 4, 1},  {"1011", 0, 4, 2}, {"10", 0, 4, -1},  {"102", 0, 4, 4},
      {"102", 0, 3, -1}, {"101", 2, 4, -1}, {"코드", 0, 4, 0}, {"101", 0, 99, 1},
  };
  for (const Case& tc : cases)
    EXPECT_EQ(g.searchColumn(2, tc.from, tc.to, tc.text), tc.expected) << tc.text.toStdString();
  EXPECT_EQ(g.searchColumn(9, 0, 4, QStringLiteral("101")), -1);
}

TEST(Grid, NumberCellsHoldNumbersAndShowThousands)
{
  struct Case {
    QString written;
    int decimals;
    QString text, value;
    double number, shown;
  };
  const Case cases[] = {
      {"1234567", 0, "1,234,567", "1234567", 1234567, 1234567},
      {"1,234", 0, "1,234", "1234", 1234, 1234},
      {" -5000 ", 0, "-5,000", "-5000", -5000, -5000},
      {"999", 0, "999", "999", 999, 999},
      {"0", 0, "0", "0", 0, 0},
      {"", 0, "", "", 0, 0},
      {"abc", 0, "", "", 0, 0},
      {"1234.5", 2, "1,234.50", "1234.50", 1234.5, 1234.5},
      {"-0.4", 0, "0", "0", -0.4, 0},
      {"1234.6", 0, "1,235", "1235", 1234.6, 1235},
      {"2.5", 0, "3", "3", 2.5, 3},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.written.toStdString());
    Grid g(1, 1);
    g.setNumberCells(CellRange::column(1), -999999999, 999999999, tc.decimals);
    g.setText(1, 1, tc.written);
    EXPECT_EQ(g.text(1, 1), tc.text);
    EXPECT_EQ(g.value(1, 1), tc.value);
    EXPECT_DOUBLE_EQ(g.number(1, 1), tc.number);
    EXPECT_DOUBLE_EQ(g.shownNumber(1, 1), tc.shown) << "what the member sees is what is read";
  }
}

TEST(NumberText, SqlNumbersArePlainDecimals)
{
  const struct {
    double value;
    const char* text;
  } cases[] = {{0, "0"}, {-0.0, "0"}, {12345, "12345"}, {-700, "-700"}, {1e14, "100000000000000"},
               {1234.5, "1234.5"}, {0.1 + 0.2, "0.3"}, {1e15, "1000000000000000"},
               {std::numeric_limits<double>::infinity(), "0"}, {std::nan(""), "0"}};
  for (const auto& c : cases)
    EXPECT_EQ(sqlNumber(c.value), QLatin1String(c.text)) << c.value;
}

TEST(Grid, CellTypeChangedAfterWritingReadsTheSameContent)
{
  Grid g(2, 1);
  g.setText(1, 1, QStringLiteral("1,234"));
  g.setNumber(2, 1, 5000);
  EXPECT_EQ(g.text(2, 1), QStringLiteral("5000"));
  g.setNumberCells(CellRange::sheet(), 0, 1e9);
  EXPECT_EQ(g.text(1, 1), QStringLiteral("1,234"));
  EXPECT_EQ(g.text(2, 1), QStringLiteral("5,000"));
}

// Later writes win whatever block they cover, exactly as if every cell had been written.
TEST(Grid, StyleLayersResolveInWriteOrder)
{
  using Op = std::function<void(Grid&)>;
  struct Probe {
    int col, row;
    Colour expected;
  };
  struct Case {
    const char* name;
    std::vector<Op> ops;
    std::vector<Probe> probes;
  };
  const Case cases[] = {
      {"row highlight over white sheet",
       {[](Grid& g) { g.setBackground(CellRange::sheet(), colours::White); },
        [](Grid& g) { g.setBackground(CellRange::row(2), 0xEFDEDE); }},
       {{1, 2, 0xEFDEDE}, {3, 2, 0xEFDEDE}, {1, 1, colours::White}, {1, 0, colours::ButtonFace}}},
      {"sheet after row clears the highlight",
       {[](Grid& g) { g.setBackground(CellRange::row(2), 0xEFDEDE); },
        [](Grid& g) { g.setBackground(CellRange::sheet(), 0x00FF00); }},
       {{1, 2, 0x00FF00}, {2, 3, 0x00FF00}}},
      {"read-only columns over row colours, active row over both",
       {[](Grid& g) { g.setBackground(CellRange::row(1), 0xC0C0C0); },
        [](Grid& g) { g.setBackground(CellRange::row(2), 0xC0C0C0); },
        [](Grid& g) { g.setBackground(CellRange::column(2), 0xE3E3E3); },
        [](Grid& g) { g.setBackground(CellRange::row(2), 0xEFDEDE); }},
       {{1, 1, 0xC0C0C0}, {2, 1, 0xE3E3E3}, {2, 2, 0xEFDEDE}, {2, 3, 0xE3E3E3}, {2, 0, colours::ButtonFace}}},
      {"cell over row, row over cell",
       {[](Grid& g) { g.setBackground(CellRange::row(1), 0x111111); },
        [](Grid& g) { g.setBackground(CellRange::cell(3, 1), 0x222222); },
        [](Grid& g) { g.setBackground(CellRange::cell(3, 2), 0x333333); },
        [](Grid& g) { g.setBackground(CellRange::row(2), 0x444444); }},
       {{3, 1, 0x222222}, {2, 1, 0x111111}, {3, 2, 0x444444}}},
      {"block of cells",
       {[](Grid& g) { g.setBackground(CellRange::block(2, 2, 3, 3), 0x555555); }},
       {{2, 2, 0x555555}, {3, 3, 0x555555}, {1, 2, colours::White}, {2, 1, colours::White}}},
      {"header cell keeps its own colour through sheet writes",
       {[](Grid& g) { g.setBackground(CellRange::cell(1, 0), 0xFDF4DF); },
        [](Grid& g) { g.setBackground(CellRange::sheet(), colours::White); },
        [](Grid& g) { g.setBackground(CellRange::column(1), 0x777777); }},
       {{1, 0, 0xFDF4DF}, {1, 1, 0x777777}}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Grid g(3, 3);
    for (const Op& op : tc.ops)
      op(g);
    for (const Probe& p : tc.probes)
      EXPECT_EQ(g.background(p.col, p.row), p.expected) << "cell " << p.col << "," << p.row;
  }
}

TEST(Grid, KindsLocksAndAlignmentApplyToBlocks)
{
  Grid g(4, 3);
  g.setLocked(CellRange::sheet(), true);
  g.setLocked(CellRange::column(3), false);
  g.setTextCells(CellRange::column(3), 120);
  g.setButtonCells(CellRange::column(4), QStringLiteral("▼"));
  g.setAlignment(CellRange::column(2), HAlign::Centre);
  EXPECT_TRUE(g.isLocked(1, 2));
  EXPECT_FALSE(g.isLocked(3, 2));
  EXPECT_EQ(g.kind(3, 1).maxLength, 120);
  EXPECT_EQ(g.cellType(4, 3), CellType::Button);
  EXPECT_EQ(g.kind(4, 3).caption, QStringLiteral("▼"));
  EXPECT_EQ(g.cellType(4, 0), CellType::Text) << "column kinds leave the header alone";
  EXPECT_EQ(g.horizontalAlignment(2, 3), HAlign::Centre);
  EXPECT_EQ(g.verticalAlignment(2, 3), VAlign::Centre);
  EXPECT_EQ(g.horizontalAlignment(1, 3), HAlign::General);
}

TEST(Grid, SpansFollowRowsAndBordersCoverTheirBlock)
{
  Grid g(4, 6);
  g.addSpan(1, 1, 4, 2);
  g.addSpan(2, 5, 2, 1);
  g.addSpan(1, 1, 3, 2); // replaces the first
  ASSERT_EQ(g.spans().size(), 2);
  EXPECT_TRUE(g.spans().contains(QRect(1, 1, 3, 2)));
  g.insertRows(3, 1);
  EXPECT_TRUE(g.spans().contains(QRect(2, 6, 2, 1)));
  g.deleteRows(1, 1);
  EXPECT_FALSE(g.spans().contains(QRect(1, 1, 3, 2))) << "a span goes with its starting row";
  EXPECT_TRUE(g.spans().contains(QRect(2, 5, 2, 1)));
  g.addSpan(2, 5, 1, 1);
  EXPECT_TRUE(g.spans().isEmpty());

  g.setBorder(CellRange::block(2, 2, 3, 4), 0x800000);
  struct Probe {
    int col, row;
    bool border;
  };
  const Probe probes[] = {{2, 2, true}, {3, 4, true}, {1, 2, false}, {4, 4, false}, {2, 5, false}};
  for (const Probe& p : probes)
    EXPECT_EQ(g.hasBorder(p.col, p.row), p.border) << p.col << "," << p.row;
  EXPECT_EQ(g.borderColour(2, 2), Colour(0x800000));
  g.clearBorder(CellRange::sheet());
  EXPECT_FALSE(g.hasBorder(2, 2));
}

TEST(Grid, ActiveCellStaysOnItsRowAndInsideTheSheet)
{
  Grid g(3, 5);
  g.setActiveCell(2, 4);
  g.setActiveCell(9, 1);  // outside: ignored
  g.setActiveCell(1, 0);  // header: ignored
  EXPECT_EQ(g.activeColumn(), 2);
  EXPECT_EQ(g.activeRow(), 4);
  g.insertRows(2, 2);
  EXPECT_EQ(g.activeRow(), 6);
  g.deleteRows(1, 1);
  EXPECT_EQ(g.activeRow(), 5);
  g.setRowCount(3);
  EXPECT_EQ(g.activeRow(), 3);
  g.setRowCount(0);
  EXPECT_EQ(g.activeRow(), 0);
  EXPECT_EQ(g.activeColumn(), 0);
}

// Loading a month appends thousands of rows with painting suspended: the view must hear
// about it once, not per row or per cell.
TEST(Grid, SuspendedPaintingReportsOnceOnResume)
{
  Grid g(3, 2);
  Recorder rec;
  g.addListener(&rec);

  g.suspendRedraw();
  for (int i = 0; i < 100; ++i) {
    g.setRowCount(g.rowCount() + 1);
    g.setText(1, g.rowCount(), QStringLiteral("x"));
  }
  g.setBackground(CellRange::sheet(), 0x123456);
  EXPECT_EQ(rec.resets + rec.inserted + rec.cells, 0);
  g.resumeRedraw();
  EXPECT_EQ(rec.resets, 1);
  EXPECT_EQ(rec.inserted + rec.cells, 0);

  rec = Recorder{};
  g.suspendRedraw();
  g.setText(2, 5, QStringLiteral("a"));
  g.setBackground(CellRange::row(9), 0xEFDEDE);
  g.setActiveCell(1, 7);
  g.resumeRedraw();
  EXPECT_EQ(rec.resets, 0);
  EXPECT_EQ(rec.cells, 1);
  EXPECT_EQ(rec.lastCells, QRect(QPoint(1, 5), QPoint(3, 9)));
  EXPECT_EQ(rec.actives, 1);

  rec = Recorder{};
  g.setText(1, 1, QStringLiteral("b"));
  g.insertRows(1, 1);
  EXPECT_EQ(rec.cells, 1);
  EXPECT_EQ(rec.inserted, 1);
  g.removeListener(&rec);
}

// A routine that suspends painting inside another routine's batch must not resume it.
TEST(Grid, NestedSuspensionsReportOnlyAtTheOutermostResume)
{
  Grid g(3, 3);
  Recorder first;
  Recorder second;
  g.addListener(&first);
  g.addListener(&second);
  {
    RedrawSuspended outer(g);
    g.setText(1, 1, QStringLiteral("a"));
    {
      RedrawSuspended inner(g);
      g.setText(2, 2, QStringLiteral("b"));
    }
    EXPECT_FALSE(g.redraw());
    EXPECT_EQ(first.cells, 0);
    g.setText(3, 3, QStringLiteral("c"));
  }
  EXPECT_TRUE(g.redraw());
  for (const Recorder* rec : {&first, &second}) {
    EXPECT_EQ(rec->cells, 1) << "every listener hears of the batch once";
    EXPECT_EQ(rec->lastCells, QRect(QPoint(1, 1), QPoint(3, 3)));
  }
  g.removeListener(&first);
  g.setText(1, 1, QStringLiteral("d"));
  EXPECT_EQ(first.cells, 1);
  EXPECT_EQ(second.cells, 2);
  g.removeListener(&second);
}

TEST(Grid, AddressesOutsideTheSheetAreIgnored)
{
  Grid g(2, 2);
  g.setText(0, 1, QStringLiteral("x"));
  g.setText(3, 1, QStringLiteral("x"));
  g.setText(1, 3, QStringLiteral("x"));
  g.setBackground(CellRange::block(1, 1, 9, 9), 0x010101);
  EXPECT_EQ(g.text(3, 1), QString());
  EXPECT_EQ(g.text(1, -1), QString());
  EXPECT_EQ(g.background(2, 2), Colour(0x010101));
  g.setRowCount(5);
  EXPECT_EQ(g.background(2, 5), colours::White) << "a clipped block does not reach new rows";
}
