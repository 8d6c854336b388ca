#include "common/grid/GridModel.h"
#include "common/grid/GridView.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace vcm;

namespace {

// A shown 4 x 5 grid: column 1 text (unlocked), 2 number 0..100 (unlocked),
// 3 check box (unlocked), 4 check box (locked).
struct Fixture {
  GridView view;

  Fixture()
  {
    Grid& g = view.grid();
    g.setColumnCount(4);
    g.setRowCount(5);
    g.setNumberCells(CellRange::column(2), 0, 100);
    g.setCheckBoxCells(CellRange::column(3), 4, 3);
    g.setCheckBoxCells(CellRange::column(4), 4, 3);
    g.setLocked(CellRange::column(4), true);
    for (int r = 1; r <= 5; ++r) {
      g.setText(1, r, QStringLiteral("t%1").arg(r));
      g.setNumber(2, r, 10 * r);
    }
    view.resize(600, 300);
    view.show();
    QApplication::processEvents();
  }

  QPoint centre(int col, int row)
  {
    return view.visualRect(view.model()->index(row - 1, col - 1)).center();
  }
  void click(int col, int row, Qt::MouseButton button = Qt::LeftButton)
  {
    QTest::mouseClick(view.viewport(), button, Qt::NoModifier, centre(col, row));
  }
  void activate(int col, int row)
  {
    view.grid().setActiveCell(col, row);
    view.setFocus();
  }
  QLineEdit* editor() { return view.viewport()->findChild<QLineEdit*>(); }
};

} // namespace

TEST(GridView, KeyDownHandlerThatSwallowsKeepsTheCell)
{
  Fixture f;
  QObject::connect(&f.view, &GridView::keyDown, [](int& key, int) {
    if (key == 'A')
      key = 0;
  });
  f.activate(1, 2);
  QTest::keyClick(&f.view, Qt::Key_A, Qt::NoModifier);
  EXPECT_FALSE(f.view.isEditing());
  EXPECT_EQ(f.view.grid().text(1, 2), QStringLiteral("t2"));

  int changed = 0;
  QObject::connect(&f.view, &GridView::cellChanged, [&](int c, int r) {
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 2);
    ++changed;
  });
  QTest::keyClick(&f.view, Qt::Key_B, Qt::NoModifier, 0);
  ASSERT_TRUE(f.view.isEditing()) << "an unswallowed letter starts editing";
  QTest::keyClick(f.editor(), Qt::Key_Return);
  QApplication::processEvents(); // the delegate commits on Enter through a queued call
  EXPECT_FALSE(f.view.isEditing());
  EXPECT_EQ(f.view.grid().text(1, 2), QStringLiteral("b"));
  EXPECT_EQ(changed, 1);
}

TEST(GridView, KeyDownCarriesVirtualKeyCodesAndShiftState)
{
  Fixture f;
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int code, shift;
  };
  const Case cases[] = {{Qt::Key_Return, Qt::NoModifier, 13, 0}, {Qt::Key_Space, Qt::NoModifier, 32, 0},
                        {Qt::Key_Up, Qt::NoModifier, 38, 0},     {Qt::Key_Down, Qt::AltModifier, 40, 4},
                        {Qt::Key_F, Qt::ControlModifier, 70, 2}, {Qt::Key_QuoteLeft, Qt::NoModifier, 192, 0}};
  int code = -1, shift = -1;
  QObject::connect(&f.view, &GridView::keyDown, [&](int& k, int s) {
    code = k;
    shift = s;
    k = 0; // keep the grid still between cases
  });
  f.activate(1, 3);
  for (const Case& tc : cases) {
    QTest::keyClick(&f.view, tc.key, tc.mods);
    EXPECT_EQ(code, tc.code);
    EXPECT_EQ(shift, tc.shift);
  }
}

TEST(GridView, KeyPressCanSwallowOrReplaceTheCharacter)
{
  Fixture f;
  QObject::connect(&f.view, &GridView::keyPress, [](int& ch) {
    if (ch == '`')
      ch = 0;
    else if (ch == 'x')
      ch = 'y';
  });
  f.activate(1, 1);
  QTest::keyClick(&f.view, Qt::Key_QuoteLeft, Qt::NoModifier);
  EXPECT_FALSE(f.view.isEditing());
  QTest::keyClicks(&f.view, QStringLiteral("x"));
  ASSERT_TRUE(f.view.isEditing());
  QTest::keyClicks(f.editor(), QStringLiteral("x`"));
  EXPECT_EQ(f.editor()->text(), QStringLiteral("yy"));
}

TEST(GridView, CheckBoxClickTogglesOnlyUnlockedCells)
{
  struct Case {
    int col;
    bool toggles;
  };
  for (const Case tc : {Case{3, true}, Case{4, false}}) {
    Fixture f;
    int clicks = 0, changes = 0;
    QObject::connect(&f.view, &GridView::cellClicked, [&](int c, int r) {
      EXPECT_EQ(c, tc.col);
      EXPECT_EQ(r, 2);
      ++clicks;
    });
    QObject::connect(&f.view, &GridView::cellChanged, [&](int, int) { ++changes; });
    f.click(tc.col, 2);
    EXPECT_EQ(f.view.grid().isChecked(tc.col, 2), tc.toggles);
    f.click(tc.col, 2);
    EXPECT_FALSE(f.view.grid().isChecked(tc.col, 2));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(changes, tc.toggles ? 2 : 0);
  }
}

TEST(GridView, LockedCellsRefuseEditing)
{
  Fixture f;
  f.view.grid().setLocked(CellRange::cell(1, 3), true);
  f.activate(1, 3);
  QTest::keyClick(&f.view, Qt::Key_Z, Qt::NoModifier);
  EXPECT_FALSE(f.view.isEditing());
  QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, Qt::NoModifier, f.centre(1, 3));
  EXPECT_FALSE(f.view.isEditing());
  EXPECT_EQ(f.view.grid().text(1, 3), QStringLiteral("t3"));
}

TEST(GridView, NumberEditorKeepsTheCellsRange)
{
  struct Case {
    QString typed;
    QString expected;
  };
  const Case cases[] = {{"55", "55"}, {"100", "100"}, {"500", "10"}, {"101", "10"}};
  for (const Case& tc : cases) {
    Fixture f;
    f.activate(2, 1);
    QTest::keyClick(&f.view, Qt::Key_F2);
    ASSERT_TRUE(f.view.isEditing());
    f.editor()->selectAll();
    QTest::keyClicks(f.editor(), tc.typed);
    QTest::keyClick(f.editor(), Qt::Key_Return);
    QApplication::processEvents();
    f.click(1, 5); // leaving the cell commits whatever the editor still holds
    EXPECT_FALSE(f.view.isEditing());
    EXPECT_EQ(f.view.grid().text(2, 1), tc.expected) << tc.typed.toStdString();
  }
}

TEST(GridView, EditChangeSeesTheTypedTextAndEscapeRestores)
{
  Fixture f;
  QStringList seen;
  QObject::connect(&f.view, &GridView::editChanged, [&](int c, int r) {
    seen << f.view.grid().text(c, r);
    if (f.view.grid().text(c, r) == QStringLiteral("0"))
      f.view.grid().setText(c, r, QStringLiteral("101.생계비")); // what the quick entry does
  });
  f.activate(1, 4);
  QTest::keyClicks(&f.view, QStringLiteral("0"));
  ASSERT_TRUE(f.view.isEditing());
  EXPECT_EQ(f.editor()->text(), QStringLiteral("101.생계비"));
  QTest::keyClick(f.editor(), Qt::Key_Escape);
  EXPECT_EQ(seen, (QStringList{QStringLiteral("0"), QStringLiteral("t4")})) << "handlers see the cell go back";
  EXPECT_EQ(f.view.grid().text(1, 4), QStringLiteral("t4"));
}

TEST(GridView, HeaderClickSortsUnlessCancelled)
{
  for (bool cancel : {true, false}) {
    Fixture f;
    f.view.setUserSortEnabled(true);
    int after = 0;
    QObject::connect(&f.view, &GridView::beforeUserSort, [&](int col, bool& c) {
      EXPECT_EQ(col, 2);
      c = cancel;
    });
    QObject::connect(&f.view, &GridView::afterUserSort, [&](int) { ++after; });
    QHeaderView* header = f.view.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(1) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    // First click ascending (already in order), second click descending.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(f.view.grid().number(2, 1), cancel ? 10 : 50);
    EXPECT_EQ(f.view.grid().text(1, 1), cancel ? QStringLiteral("t1") : QStringLiteral("t5"));
    EXPECT_EQ(after, cancel ? 0 : 2);
  }
}

TEST(GridView, RightClickAndActiveCellPosition)
{
  Fixture f;
  int col = 0, row = 0;
  QObject::connect(&f.view, &GridView::cellRightClicked, [&](int c, int r, const QPoint&) {
    col = c;
    row = r;
  });
  f.click(3, 4, Qt::RightButton);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 4);
  EXPECT_EQ(f.view.grid().activeRow(), 4);
  QPoint at;
  ASSERT_TRUE(f.view.activeCellPosition(at));
  EXPECT_TRUE(f.view.rect().contains(at));
  EXPECT_EQ(f.view.childAt(at + QPoint(2, 2)), f.view.viewport());

  f.view.grid().setRowCount(0);
  EXPECT_FALSE(f.view.activeCellPosition(at));
}

TEST(GridView, ViewFollowsGridRowsLayoutAndActiveCell)
{
  Fixture f;
  Grid& g = f.view.grid();
  g.suspendRedraw();
  g.setRowCount(200);
  g.setColumnHidden(2, true);
  g.setColumnWidth(1, 20);
  g.setRowHidden(3, true);
  g.setActiveCell(1, 150);
  g.resumeRedraw();
  EXPECT_EQ(f.view.model()->rowCount(), 200);
  EXPECT_TRUE(f.view.isColumnHidden(1));
  EXPECT_EQ(f.view.columnWidth(0), f.view.columnPixels(20));
  EXPECT_TRUE(f.view.isRowHidden(2));
  EXPECT_EQ(f.view.currentIndex().row(), 149);
  g.deleteRows(1, 100);
  EXPECT_EQ(f.view.model()->rowCount(), 100);
  EXPECT_EQ(f.view.currentIndex().row(), 49);
}

// The model, not the view, listens to the grid: a second view of the same grid follows
// it too, and number cells give typed values to any view.
TEST(GridView, ASecondViewOfTheGridFollowsItAndReadsTypedNumbers)
{
  Fixture f;
  GridModel second(f.view.grid());
  QTableView other;
  other.setModel(&second);
  f.view.grid().setRowCount(8);
  f.view.grid().setText(2, 8, QStringLiteral("1,234"));
  EXPECT_EQ(second.rowCount(), 8);
  EXPECT_EQ(f.view.model()->rowCount(), 8);
  const QVariant edit = second.data(second.index(7, 1), Qt::EditRole);
  EXPECT_EQ(edit.typeId(), QMetaType::Double);
  EXPECT_EQ(edit.toDouble(), 1234);
  EXPECT_EQ(second.data(second.index(7, 0), Qt::EditRole).toString(), QString());
  second.setData(second.index(7, 1), 2500000.0, Qt::EditRole);
  EXPECT_EQ(f.view.grid().text(2, 8), QStringLiteral("2,500,000"));
}

TEST(GridView, TheActiveRowColourFollowsKeysAndClicks)
{
  Fixture f;
  const Colour mark = 0xEFDEDE;
  f.view.setActiveRowColour(mark);
  const QColor expected(colours::red(mark), colours::green(mark), colours::blue(mark));
  // A pixel of column 2 just inside its cell, clear of the text and of the active cell's frame.
  auto background = [&](int row) {
    const QRect r = f.view.visualRect(f.view.model()->index(row - 1, 1));
    return f.view.viewport()->grab().toImage().pixelColor(r.left() + 2, r.top() + 2);
  };
  f.activate(1, 1);
  const struct {
    std::function<void()> act;
    int row;
  } moves[] = {{[&] { QTest::keyClick(&f.view, Qt::Key_Down); }, 2},
               {[&] { QTest::keyClick(&f.view, Qt::Key_Down); }, 3},
               {[&] { f.click(1, 5); }, 5},
               {[&] { f.view.grid().setActiveCell(1, 4); }, 4}};
  for (const auto& m : moves) {
    m.act();
    QApplication::processEvents();
    for (int r = 1; r <= 5; ++r)
      EXPECT_EQ(background(r), r == m.row ? expected : QColor(Qt::white)) << "active " << m.row << ", row " << r;
  }
}
