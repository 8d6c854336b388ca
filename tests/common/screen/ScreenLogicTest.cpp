#include "common/Session.h"
#include "common/screen/GridRoutines.h"
#include "common/screen/TelephoneFormatter.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

using Action = TelephoneKeyResult::Action;

// Types `keys` into a field the way a text box does around the filter: the caret
// stays at the end, let-through digits are inserted there and backspace deletes.
QString typeInto(QString text, const QString& keys)
{
  for (QChar k : keys) {
    const int key = k == QLatin1Char('\b') ? 8 : k.unicode();
    const TelephoneKeyResult r = formatTelephoneKey(text, int(text.size()), 0, key);
    if (r.action == Action::Replace)
      text = r.text;
    else if (r.action == Action::PassThrough && key == 8)
      text.chop(1);
    else if (r.action == Action::PassThrough)
      text.append(k);
  }
  return text;
}

} // namespace

TEST(TelephoneFormatter, TypedSequences)
{
  struct Case {
    const char* keys;
    const char* expected;
  };
  const Case cases[] = {
      {"0212345678", "02-1234-5678"},   {"021234567", "02-123-4567"},
      {"01012345678", "010-1234-5678"}, {"0101234567", "010-123-4567"},
      {"0311234567", "031-123-4567"},   {"03112345678", "031-1234-5678"},
      {"050512345678", "0505-1234-5678"}, {"05051234567", "0505-123-4567"},
      {"0a2b1c", "02-1"},               {"0101\b\b", "010"},
      {"15881234", "158-812-34"},          {"010123456789", "010-1234-56789"},
  };
  for (const Case& tc : cases)
    EXPECT_EQ(typeInto(QString(), QString::fromLatin1(tc.keys)), QString::fromLatin1(tc.expected))
        << tc.keys;
}

TEST(TelephoneFormatter, SingleKeys)
{
  struct Case {
    const char* name;
    QString text;
    int selStart, selLength, key;
    TelephoneKeyResult expected;
  };
  const Case cases[] = {
      {"letter swallowed", "010-", 4, 0, 'a', {Action::Swallow, {}}},
      {"hyphen typed by hand swallowed", "02", 2, 0, '-', {Action::Swallow, {}}},
      {"backspace let through", "010-1", 5, 0, 8, {Action::PassThrough, {}}},
      {"caret at the start replaces", "010-1234", 0, 0, '7', {Action::Replace, "7"}},
      {"empty text", "", 0, 0, '0', {Action::Replace, "0"}},
      {"selection lets any key through", "010-1234", 4, 4, '9', {Action::PassThrough, {}}},
      {"selection of letters too", "010-1234", 1, 2, 'x', {Action::PassThrough, {}}},
      {"selection from the start is no selection", "010", 0, 3, '5', {Action::Replace, "5"}},
      {"Seoul prefix", "0", 1, 0, '2', {Action::Replace, "02-"}},
      {"three-digit prefix", "03", 2, 0, '1', {Action::Replace, "031-"}},
      {"02 typed as 0 then 2 keeps going", "02-", 3, 0, '1', {Action::Replace, "02-1"}},
      {"050 with three digits", "050-", 4, 0, '7', {Action::Replace, "0507-"}},
      {"long number without hyphen let through", "123456", 6, 0, '7', {Action::PassThrough, {}}},
      {"middle group of four moves one digit", "02-1234", 7, 0, '5', {Action::Replace, "02-123-45"}},
      {"seven digits become four and four", "02-123-4567", 11, 0, '8', {Action::Replace, "02-1234-5678"}},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    const TelephoneKeyResult r = formatTelephoneKey(tc.text, tc.selStart, tc.selLength, tc.key);
    EXPECT_EQ(int(r.action), int(tc.expected.action));
    EXPECT_EQ(r.text, tc.expected.text);
  }
}

TEST(GridRoutines, ClickColorTogglesDataCells)
{
  struct Case {
    QString before, after;
  };
  const Case cases[] = {{"1", "0"}, {"0", "1"}, {"", "1"}, {"2", "0"}, {"abc", "1"}, {"-1", "0"}};
  for (const Case& tc : cases) {
    Grid g(20, 3);
    g.setText(20, 2, tc.before);
    Session.CurrentProcedure = QStringLiteral("sprPay_Click");
    g_Spr_Click_Color(g, 20, 2);
    EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Spr_Click_Color"));
    EXPECT_EQ(g.text(20, 2), tc.after) << tc.before.toStdString();
    EXPECT_EQ(g.activeColumn(), 20);
    EXPECT_EQ(g.activeRow(), 2);
    EXPECT_EQ(g.text(20, 1), QString()) << "other rows untouched";
  }
}

TEST(GridRoutines, ClickColorOnHeaderSetsTheWholeColumn)
{
  struct Case {
    const char* name;
    bool setHeader;
    QString header;
    QString expected;
  };
  const Case cases[] = {
      {"never set: the first click clears", false, {}, "0"},
      {"header 0 checks every row", true, "0", "1"},
      {"header 1 clears every row", true, "1", "0"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Grid g(3, 4);
    g_Spr_Chk_Col(g, 1, true, QStringLiteral("16643295"), QString());
    g.setText(1, 2, QStringLiteral("1"));
    g.setText(1, 3, QStringLiteral("0"));
    if (tc.setHeader)
      g.setText(1, 0, tc.header);
    g_Spr_Click_Color(g, 1, 0);
    for (int r = 0; r <= 4; ++r)
      EXPECT_EQ(g.text(1, r), tc.expected) << "row " << r;
    EXPECT_TRUE(g.redraw());
  }
}

TEST(GridRoutines, ChkColTurnsColumnIntoCheckBoxes)
{
  Grid g(20, 3);
  g_Spr_Chk_Col(g, 1, true, QStringLiteral("16643295"), QStringLiteral("전체"));
  g_Spr_Chk_Col(g, 20, false, QString(), QString());
  struct Probe {
    int col, row;
    CellType type;
  };
  const Probe probes[] = {{1, 0, CellType::CheckBox}, {1, 3, CellType::CheckBox},
                          {20, 1, CellType::CheckBox}, {20, 0, CellType::Text}, {2, 1, CellType::Text}};
  for (const Probe& p : probes)
    EXPECT_EQ(g.cellType(p.col, p.row), p.type) << p.col << "," << p.row;
  EXPECT_EQ(g.kind(1, 2).uncheckedPicture, 4);
  EXPECT_EQ(g.kind(1, 2).checkedPicture, 3);
  EXPECT_EQ(g.background(1, 0), Colour(0xFDF4DF));
  EXPECT_EQ(g.kind(1, 0).caption, QStringLiteral("전체"));
  EXPECT_EQ(g.background(20, 0), colours::ButtonFace);
  EXPECT_TRUE(g.redraw());

  g_Spr_Chk_Col(g, 2, true, QStringLiteral("&HFF0000"), QString());
  EXPECT_EQ(g.background(2, 0), Colour(0xFF0000));
  g_Spr_Chk_Col(g, 3, true, QStringLiteral("not a colour"), QString());
  EXPECT_EQ(g.background(3, 0), colours::ButtonFace);
  EXPECT_EQ(g.cellType(3, 0), CellType::CheckBox);
}

TEST(GridRoutines, RowColorPaintsOnlyTheActiveRow)
{
  struct Case {
    const char* name;
    int activeBefore, row;
    bool whiteText;
    int expectedRow, expectedCol;
  };
  const Case cases[] = {
      {"moves to the row", 1, 4, false, 4, 3},
      {"already active keeps its column", 4, 4, true, 4, 5},
      {"row outside the grid paints the active row", 2, 99, false, 2, 5},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.name);
    Grid g(9, 6);
    g.setBackground(CellRange::row(1), 0xC0C0C0); // an earlier highlight
    g.setBackground(CellRange::cell(2, 5), 0x00FF00);
    g.setActiveCell(5, tc.activeBefore);
    g_Spr_Row_Color(g, tc.row, 0xEFDEDE, 3, tc.whiteText);
    EXPECT_EQ(g.activeRow(), tc.expectedRow);
    EXPECT_EQ(g.activeColumn(), tc.expectedCol);
    for (int r = 1; r <= 6; ++r)
      for (int c = 1; c <= 9; ++c) {
        const bool active = r == tc.expectedRow;
        ASSERT_EQ(g.background(c, r), active ? Colour(0xEFDEDE) : colours::White) << c << "," << r;
        ASSERT_EQ(g.foreground(c, r), active && tc.whiteText ? colours::White : colours::Black);
      }
  }
}
