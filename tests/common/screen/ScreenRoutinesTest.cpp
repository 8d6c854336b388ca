#include "common/screen/ScreenRoutines.h"

#include "common/grid/StandardImages.h"
#include "common/screen/PictureCheckStyle.h"
#include "platform/ScriptedUi.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDate>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vcm;

TEST(ScreenRoutines, MonthViewPlacesAndDatesTheCalendar)
{
  struct Case {
    QString text;
    QDate expected;
    bool notice;
  };
  const Case cases[] = {
      {"2015.03.04", QDate(2015, 3, 4), false},
      {" 2015.03.04 ", QDate(2015, 3, 4), false},
      {"", QDate::currentDate(), false},
      {"2015.03", QDate::currentDate(), false},
      {"2015.13.45", QDate(2001, 2, 3), true},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.text.toStdString());
    ScopedScriptedUi ui;
    QWidget screen;
    auto* calendar = new QCalendarWidget(&screen);
    calendar->setSelectedDate(QDate(2001, 2, 3));
    calendar->hide();
    g_MonthView_Set(calendar, 40, 120, tc.text);
    EXPECT_EQ(calendar->pos(), QPoint(120, 40));
    EXPECT_FALSE(calendar->isHidden());
    EXPECT_EQ(calendar->selectedDate(), tc.expected);
    if (tc.notice) {
      ASSERT_EQ(ui->messages.size(), 1);
      EXPECT_EQ(ui->messages[0].text, QStringLiteral("오류발생(g_MonthView_Set)"));
      EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
      EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
    } else {
      EXPECT_TRUE(ui->messages.isEmpty());
      EXPECT_EQ(calendar->monthShown(), tc.expected.month());
    }
  }
}

TEST(ScreenRoutines, TelKeyPressReformatsALineEditAndPutsTheCaretAtTheEnd)
{
  ScopedScriptedUi ui;
  QLineEdit edit;
  for (QChar ch : QStringLiteral("0212345678")) {
    int key = ch.unicode();
    g_Tel_KeyPress(key, &edit);
    EXPECT_EQ(key, 0) << "every digit here is inserted by the filter";
    EXPECT_EQ(edit.cursorPosition(), edit.text().size());
  }
  EXPECT_EQ(edit.text(), QStringLiteral("02-1234-5678"));

  int key = 'x';
  g_Tel_KeyPress(key, &edit);
  EXPECT_EQ(key, 0);
  key = 8;
  g_Tel_KeyPress(key, &edit);
  EXPECT_EQ(key, 8);
  edit.setSelection(3, 4);
  key = '9';
  g_Tel_KeyPress(key, &edit);
  EXPECT_EQ(key, '9') << "a selection lets the key through";
  edit.setCursorPosition(0);
  key = '5';
  g_Tel_KeyPress(key, &edit);
  EXPECT_EQ(edit.text(), QStringLiteral("5"));
  EXPECT_TRUE(ui->messages.isEmpty());

  g_Tel_KeyPress(key, static_cast<QLineEdit*>(nullptr));
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("오류발생(g_ChNum)"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
}

TEST(ScreenRoutines, ChkImgDrawsTheBoxWithTheStandardPictures)
{
  QCheckBox box(QStringLiteral("회원사명"));
  box.resize(120, 24);
  g_Chk_Img(&box);
  ASSERT_NE(qobject_cast<PictureCheckStyle*>(box.style()), nullptr);
  const QPixmap checkedPicture = StandardImages::picture(StandardImages::PictureBoxChecked);
  EXPECT_EQ(box.style()->pixelMetric(QStyle::PM_IndicatorWidth),
            checkedPicture.deviceIndependentSize().toSize().width());
  box.setChecked(false);
  const QImage off = box.grab().toImage();
  box.setChecked(true);
  const QImage on = box.grab().toImage();
  EXPECT_NE(off, on);
  g_Chk_Img(nullptr); // ignored
}

TEST(ScreenRoutines, StandardPicturesAreDrawnAndDistinct)
{
  QList<QImage> images;
  for (int index : StandardImages::drawnIndexes()) {
    const QPixmap pm = StandardImages::picture(index);
    ASSERT_FALSE(pm.isNull()) << index;
    images << pm.toImage();
  }
  for (int i = 0; i < images.size(); ++i)
    for (int j = i + 1; j < images.size(); ++j)
      EXPECT_NE(images[i], images[j]);
  EXPECT_TRUE(StandardImages::picture(77).isNull());
}
