// Quick-bar layout, work-button flags, twips and window placement, without widgets.
#include "mainwindow/QuickBar.h"
#include "mainwindow/Twips.h"
#include "mainwindow/WindowPlacement.h"
#include "mainwindow/WorkFlags.h"

#include <gtest/gtest.h>

namespace vcm {
namespace {

const QString kBiz = QStringLiteral("사업장_사업장정보");
const QString kLedger = QStringLiteral("회계2_거래리스트_New");

struct Expected {
  int index;
  QString tag;
  int picture;
  int left;
  int closeLeft;
};

void expectButtons(const QuickBar& bar, const std::vector<Expected>& expected)
{
  QList<int> indexes;
  for (const auto& e : expected)
    indexes << e.index;
  ASSERT_EQ(bar.indexes(), indexes);
  for (const auto& e : expected) {
    SCOPED_TRACE(e.index);
    const QuickButton* b = bar.button(e.index);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->tag, e.tag);
    EXPECT_EQ(b->picture, e.picture);
    EXPECT_EQ(b->left, e.left);
    EXPECT_EQ(b->closeLeft, e.closeLeft);
    EXPECT_EQ(b->width, 1800);
  }
}

TEST(QuickBar, TagsCarryTheThreeDigitCodeAndTheName)
{
  const struct {
    QString name;
    QString tag;
    int code;
  } cases[] = {
      {kBiz, QStringLiteral("001사업장_사업장정보"), 1},
      {kLedger, QStringLiteral("003회계2_거래리스트_New"), 3},
      {QStringLiteral("파일전송"), QStringLiteral("000파일전송"), 0},
      {QString(), QStringLiteral("000"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    EXPECT_EQ(QuickBar::tagFor(c.name), c.tag);
    EXPECT_EQ(QuickBar::codeOfTag(c.tag), c.code);
    EXPECT_EQ(QuickBar::formNameOfTag(c.tag), c.name);
  }
}

TEST(QuickBar, AddingPlacesButtonsWithOverlapAndCloseButtonsAt1380)
{
  QuickBar bar(15, 30);
  EXPECT_EQ(bar.activate(kLedger), 1);
  EXPECT_EQ(bar.activate(kBiz), 2);
  EXPECT_EQ(bar.activate(QStringLiteral("기타화면")), 3);
  // The newest is highlighted; the others fall back to their normal pictures, except
  // that an unknown screen has no normal picture (image 0) and keeps image 1.
  expectButtons(bar, {
                         {1, QuickBar::tagFor(kLedger), 3, 15, 15 + 1380},
                         {2, QuickBar::tagFor(kBiz), 1, 1770, 1770 + 1380},
                         {3, QStringLiteral("000기타화면"), 1, 3525, 3525 + 1380},
                     });
  EXPECT_EQ(bar.button(1)->top, 15);
  EXPECT_EQ(bar.button(1)->closeTop, 150);
}

TEST(QuickBar, ActivatingAgainOnlyHighlights)
{
  QuickBar bar;
  bar.activate(kBiz);
  bar.activate(kLedger);
  EXPECT_EQ(bar.activate(kLedger), 2);
  expectButtons(bar, {{1, QuickBar::tagFor(kBiz), 1, 15, 1395}, {2, QuickBar::tagFor(kLedger), 4, 1770, 3150}});
  bar.activate(kBiz);
  expectButtons(bar, {{1, QuickBar::tagFor(kBiz), 2, 15, 1395}, {2, QuickBar::tagFor(kLedger), 3, 1770, 3150}});
}

TEST(QuickBar, RemovingClosesTheGap)
{
  const QString third = QStringLiteral("기타화면");
  const struct {
    const char* what;
    QString removed;
    std::vector<Expected> after;
  } cases[] = {
      // First of three: the second takes the first's place, the third follows 15 apart,
      // close buttons at +1340 of the running position.
      {"first", kLedger,
       {{2, QuickBar::tagFor(kBiz), 2, 15, 15 + 1340},
        {3, QStringLiteral("000기타화면"), 1, 15 + 1800 + 15, 15 + 1800 + 1340}}},
      {"middle", kBiz,
       {{1, QuickBar::tagFor(kLedger), 3, 15, 1395},
        {3, QStringLiteral("000기타화면"), 1, 1770, 1770 + 1340}}},
      {"last", third,
       {{1, QuickBar::tagFor(kLedger), 3, 15, 1395}, {2, QuickBar::tagFor(kBiz), 2, 1770, 3150}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QuickBar bar;
    bar.activate(kLedger);
    bar.activate(kBiz);
    bar.activate(third);
    // Highlight the business view so pictures are distinct from the defaults.
    bar.activate(kBiz);
    EXPECT_TRUE(bar.remove(c.removed));
    expectButtons(bar, c.after);
  }
}

TEST(QuickBar, UnknownNamesAndHolesLeaveEverythingAsItWas)
{
  QuickBar bar;
  bar.activate(kLedger);
  bar.activate(kBiz);
  EXPECT_FALSE(bar.remove(QStringLiteral("없는화면")));
  EXPECT_TRUE(bar.remove(kLedger));
  EXPECT_FALSE(bar.remove(kLedger));
  EXPECT_EQ(bar.button(1), nullptr);
  EXPECT_EQ(bar.button(0), nullptr);
  EXPECT_EQ(bar.highestIndex(), 2);
  // A new button goes after the highest index, not into the hole.
  EXPECT_EQ(bar.activate(kLedger), 3);
  expectButtons(bar, {{2, QuickBar::tagFor(kBiz), 1, 15, 1355}, {3, QuickBar::tagFor(kLedger), 4, 1770, 3150}});
}

TEST(QuickBar, RemovingEveryButtonStartsAgainAtElementOne)
{
  QuickBar bar;
  bar.activate(kLedger);
  bar.activate(kBiz);
  EXPECT_TRUE(bar.remove(kLedger));
  EXPECT_TRUE(bar.remove(kBiz));
  EXPECT_EQ(bar.highestIndex(), 0);
  // With every button gone the next one starts at element 1 again.
  EXPECT_EQ(bar.activate(kBiz), 1);
  EXPECT_EQ(bar.button(1)->left, 15);
}

TEST(WorkFlags, FlagsSetVisibilityInIndexOrder)
{
  const struct {
    QString flags;
    QList<bool> visible;
    bool complete;
  } cases[] = {
      {QStringLiteral("0,1,1,1,0,0,1,0,1"), {false, true, true, true, false, false, true, false, true}, true},
      // A tenth flag has no button and is ignored.
      {QStringLiteral("1,1,1,1,1,1,1,1,1,1"), {true, true, true, true, true, true, true, true, true}, true},
      // Eight flags set buttons 0 to 7 and then fail.
      {QStringLiteral("1,0,1,0,1,0,1,0"), {true, false, true, false, true, false, true, false}, false},
      {QString(), {false}, false},
      // Only the number 1 shows a button; blanks around it do not matter.
      {QStringLiteral(" 1,2,x,1.0,-1,01,,1 ,0"), {true, false, false, true, false, true, false, true, false}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags.toStdString());
    const WorkFlags f = WorkFlags::parse(c.flags, 9);
    EXPECT_EQ(f.visible, c.visible);
    EXPECT_EQ(f.complete, c.complete);
  }
}

TEST(Twips, ConvertAtTheScreensResolution)
{
  const struct {
    int twips;
    double dpi;
    int pixels;
  } cases[] = {
      {15, 96, 1}, {1440, 96, 96}, {19995, 96, 1333}, {13500, 96, 900}, {750, 96, 50},
      {1440, 144, 144}, {19995, 144, 2000}, {7, 96, 0}, {8, 96, 1}, {-15, 96, -1},
      {1440, 0, 96}, // a screen reporting no resolution counts as 96 dpi
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.twips);
    EXPECT_EQ(twipsToPixels(c.twips, c.dpi), c.pixels);
  }
  EXPECT_EQ(pixelsToTwips(1920, 96), 28800);
  EXPECT_EQ(pixelsToTwips(1920, 120), 23040);
  EXPECT_EQ(twipsRect(1320, 2250, 2115, 315, 96), QRect(88, 150, 141, 21));
}

TEST(WindowPlacement, LargeScreensGetTheFixedSizeCentred)
{
  const struct {
    QSize screen;
    double dpi;
    bool maximised;
    QRect twips;
    QRect pixels;
  } cases[] = {
      {{1920, 1080}, 96, false, {4402, 1350, 19995, 13500}, {293, 90, 1333, 900}},
      {{1281, 901}, 96, false, {-390, 7, 19995, 13500}, {-26, 0, 1333, 900}},
      {{2560, 1440}, 144, false, {2802, 450, 19995, 13500}, {280, 45, 2000, 1350}},
      {{1280, 1024}, 96, true, {}, {}},
      {{1920, 900}, 96, true, {}, {}},
      {{1280, 900}, 96, true, {}, {}},
      {{1024, 768}, 96, true, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.screen.width()).arg(c.screen.height()).toStdString());
    const WindowPlacement p = WindowPlacement::forScreen(c.screen, c.dpi);
    EXPECT_EQ(p.maximised, c.maximised);
    EXPECT_EQ(p.twips, c.twips);
    EXPECT_EQ(p.pixels, c.pixels);
  }
}

} // namespace
} // namespace vcm
