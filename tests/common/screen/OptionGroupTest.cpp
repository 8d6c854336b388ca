#include "common/Session.h"
#include "common/screen/OptionGroup.h"
#include "platform/ScriptedUi.h"

#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vcm;

TEST(OptionGroup, FirstSelectedIndexOrZero)
{
  ScopedScriptedUi ui;
  QWidget parent;
  QList<QAbstractButton*> buttons;
  for (int i = 0; i < 4; ++i)
    buttons << new QRadioButton(&parent);
  const struct {
    int checked; // -1: none
    int lower;
    int expected;
  } cases[] = {{2, 0, 2}, {-1, 0, 0}, {0, 0, 0}, {3, 0, 3}, {1, 1, 2}, {0, 1, 1}};
  for (const auto& c : cases) {
    for (auto* b : buttons) {
      static_cast<QRadioButton*>(b)->setAutoExclusive(false);
      b->setChecked(false);
    }
    if (c.checked >= 0)
      buttons[c.checked]->setChecked(true);
    EXPECT_EQ(g_Opt_True({buttons, c.lower}), c.expected) << c.checked << " from " << c.lower;
  }
  EXPECT_EQ(Session.CurrentProcedure, QStringLiteral("g_Opt_True"));
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST(OptionGroup, AMissingIndexBeforeTheSelectionIsAnErrorNotice)
{
  ScopedScriptedUi ui;
  QWidget parent;
  auto* first = new QRadioButton(&parent);
  auto* third = new QRadioButton(&parent);
  third->setChecked(true);
  EXPECT_EQ(g_Opt_True({{first, nullptr, third}, 0}), 0);
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_TRUE(ui->messages[0].text.endsWith(QStringLiteral("(g_Opt_True)g_Opt_True")));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("오류안내(340)"));
}
