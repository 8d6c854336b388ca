// Keyboard and mouse through a KoltRich created by its ProgID: event numbers, handlers
// that change or swallow keys, and the length limit.
#include "RegisteredLibrary.h"

#include "platform/ScriptedUi.h"
#include "textcontrol/ControlFactory.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTextEdit>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

using namespace vcm;

namespace {

/// Records the keys that travel past the control to its screen.
class Screen : public QWidget {
public:
  QList<int> keys;

protected:
  void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
};

class KoltRichInputTest : public ::testing::Test {
public:
  void SetUp() override
  {
    test::registerBuiltLibrary();
    m_control = createControl(QString::fromLatin1(koltrich::ProgId), &m_screen);
    ASSERT_NE(m_control, nullptr);
    m_control->SetText(QString());
    m_box = test::innerBox(m_control);
  }

  void type(const QString& text) { QTest::keyClicks(m_box, text); }
  void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
  {
    QTest::keyClick(m_box, key, mods);
  }
  void paste(const QString& text)
  {
    QGuiApplication::clipboard()->setText(text);
    press(Qt::Key_V, Qt::ControlModifier);
  }
  void commit(const QString& text)
  {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(m_box, &event);
  }
  void moveToEnd() { m_control->SetSelStart(int(m_control->Text().size())); }

  ScopedScriptedUi m_ui;
  Screen m_screen;
  IKoltRich* m_control = nullptr;
  QTextEdit* m_box = nullptr;
};

TEST_F(KoltRichInputTest, KeysArriveWithTheirKeyCodesAndCharacterCodes)
{
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    short keyCode, shift, keyAscii; // keyAscii -1: no KeyPress
  };
  const Case cases[] = {
      {Qt::Key_Return, {}, 13, 0, 13},
      {Qt::Key_Backspace, {}, 8, 0, 8},
      {Qt::Key_Escape, {}, 27, 0, 27},
      {Qt::Key_A, {}, 65, 0, 'a'},
      {Qt::Key_Delete, Qt::ShiftModifier, 46, 1, -1},
      {Qt::Key_V, Qt::ControlModifier, 86, 2, 22},
      {Qt::Key_C, Qt::ControlModifier, 67, 2, 3},
      {Qt::Key_1, {}, 49, 0, '1'},
      {Qt::Key_5, Qt::KeypadModifier, 101, 0, '5'},
      {Qt::Key_QuoteLeft, {}, 192, 0, '`'},
      {Qt::Key_Space, {}, 32, 0, ' '},
      {Qt::Key_Delete, {}, 46, 0, -1},
      {Qt::Key_Down, {}, 40, 0, -1},
      {Qt::Key_F2, Qt::AltModifier, 113, 4, -1},
  };
  for (const Case& c : cases) {
    QList<std::pair<short, short>> downs, ups;
    QList<short> presses;
    // Shift, Ctrl and Alt raise their own events (16, 17, 18) around the key.
    auto isModifier = [](short k) { return k >= 16 && k <= 18; };
    m_control->events().KeyDown = [&](short& k, short& s) {
      if (!isModifier(k))
        downs << std::pair(k, s);
    };
    m_control->events().KeyUp = [&](short& k, short& s) {
      if (!isModifier(k))
        ups << std::pair(k, s);
    };
    m_control->events().KeyPress = [&](short& a) { presses << a; };
    press(c.key, c.mods);
    const auto expectedKey = QList<std::pair<short, short>>{{c.keyCode, c.shift}};
    EXPECT_EQ(downs, expectedKey) << c.keyCode;
    EXPECT_EQ(ups, expectedKey) << c.keyCode;
    EXPECT_EQ(presses, c.keyAscii < 0 ? QList<short>{} : QList<short>{c.keyAscii}) << c.keyCode;
  }
}

TEST_F(KoltRichInputTest, KeyPressHandlerDecidesWhichCharacterGoesIn)
{
  struct Case {
    const char* name;
    std::function<void(short&)> handler;
    QString typed;
    QString expected;
  };
  const Case cases[] = {
      {"swallow x", [](short& a) { if (a == 'x') a = 0; }, "axbx", "ab"},
      {"upper case", [](short& a) { if (a >= 'a' && a <= 'z') a -= 32; }, "ab1", "AB1"},
      {"digits only", [](short& a) { if (a != 8 && (a < '0' || a > '9')) a = 0; }, "1a-2", "12"},
      {"swallow backspace", [](short& a) { if (a == 8) a = 0; }, "ab\b", "ab"},
  };
  for (const Case& c : cases) {
    m_control->SetText(QString());
    m_control->events().KeyPress = c.handler;
    for (const QChar ch : c.typed) {
      if (ch == u'\b')
        press(Qt::Key_Backspace);
      else
        type(QString(ch));
    }
    EXPECT_EQ(m_control->Text(), c.expected) << c.name;
  }
}

TEST_F(KoltRichInputTest, KeyDownHandlerChangesOrSwallowsTheKey)
{
  m_control->SetText(QStringLiteral("abc"));
  m_control->SetSelStart(1);
  m_control->events().KeyDown = [](short& k, short&) {
    if (k == 46) // Delete
      k = 0;
    else if (k == 36) // Home becomes End
      k = 35;
  };
  press(Qt::Key_Delete);
  EXPECT_EQ(m_control->Text(), QStringLiteral("abc"));
  press(Qt::Key_Home);
  EXPECT_EQ(m_control->SelStart(), 3);
}

TEST_F(KoltRichInputTest, PasteCanBeRefusedByKeyCodeOrKeyAscii)
{
  const std::pair<const char*, std::function<void()>> refusals[] = {
      {"KeyAscii", [this] { m_control->events().KeyPress = [](short& a) { if (a == 22) a = 0; }; }},
      {"KeyCode", [this] {
         m_control->events().KeyDown = [](short& k, short& s) { if (k == 'V' && s == 2) k = 0; };
       }},
  };
  for (const auto& [name, refuse] : refusals) {
    m_control->events() = KoltRichEvents{};
    m_control->SetText(QStringLiteral("ab"));
    refuse();
    paste(QStringLiteral("zz"));
    EXPECT_EQ(m_control->Text(), QStringLiteral("ab")) << name;
  }
  m_control->events() = KoltRichEvents{};
  moveToEnd();
  paste(QStringLiteral("zz"));
  EXPECT_EQ(m_control->Text(), QStringLiteral("abzz"));
}

TEST_F(KoltRichInputTest, EveryWayOfPastingPassesKeyPressCharacterByCharacter)
{
  const auto drop = [this](const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPointF at = m_box->cursorRect().center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(m_box->viewport(), &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(m_box->viewport(), &dropped);
  };
  const auto menuPaste = [this](const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    std::unique_ptr<QMenu> menu(m_box->createStandardContextMenu());
    QAction* action = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(action, nullptr);
    action->trigger();
  };
  const std::pair<const char*, std::function<void(const QString&)>> ways[] = {
      {"Ctrl+V", [this](const QString& t) { paste(t); }},
      {"Shift+Insert", [this](const QString& t) {
         QGuiApplication::clipboard()->setText(t);
         press(Qt::Key_Insert, Qt::ShiftModifier);
       }},
      {"context menu", menuPaste},
      {"drop", drop},
  };
  // Digits only, as a telephone field keeps them; control keys (Ctrl+V itself) pass.
  QString seen;
  m_control->events().KeyPress = [&](short& a) {
    if (a >= 32)
      seen += QChar(char16_t(a));
    if (a >= 32 && (a < '0' || a > '9'))
      a = 0;
  };
  for (const auto& [name, way] : ways) {
    m_control->SetText(QStringLiteral("0"));
    moveToEnd();
    seen.clear();
    way(QStringLiteral("1a2bc3"));
    EXPECT_EQ(m_control->Text(), QStringLiteral("0123")) << name;
    EXPECT_EQ(seen, QStringLiteral("1a2bc3")) << name;
    m_control->SetText(QString());
    way(QStringLiteral("abc"));
    EXPECT_EQ(m_control->Text(), QString()) << name;
  }

  // A handler that turns characters into others sees each one and its change goes in.
  m_control->events().KeyPress = [](short& a) { if (a >= 'a' && a <= 'z') a -= 32; };
  m_control->SetText(QString());
  paste(QStringLiteral("ab1"));
  EXPECT_EQ(m_control->Text(), QStringLiteral("AB1"));
}

TEST_F(KoltRichInputTest, EnterStaysOutOfTheTextAndGoesToTheScreen)
{
  m_control->SetText(QStringLiteral("ab"));
  moveToEnd();
  press(Qt::Key_Return);
  press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(m_control->Text(), QStringLiteral("ab"));
  EXPECT_EQ(m_screen.keys.count(Qt::Key_Return), 2);

  // A handler that takes Enter keeps it from the screen.
  m_screen.keys.clear();
  m_control->events().KeyPress = [](short& a) { if (a == 13) a = 0; };
  press(Qt::Key_Return);
  EXPECT_FALSE(m_screen.keys.contains(Qt::Key_Return));
}

TEST_F(KoltRichInputTest, MaxLengthLimitsTypingPastingAndComposing)
{
  struct Case {
    const char* name;
    int maxLength;
    QString initial;
    int selStart, selLength;
    std::function<void(KoltRichInputTest*)> input;
    QString expected;
  };
  const Case cases[] = {
      {"typing", 5, "abc", 3, 0, [](auto* t) { t->type("defg"); }, "abcde"},
      {"typing over a selection", 3, "abc", 1, 1, [](auto* t) { t->type("xyz"); }, "axc"},
      {"pasting", 5, "ab", 2, 0, [](auto* t) { t->paste("12345"); }, "ab123"},
      {"pasting over a selection", 5, "abc", 1, 1, [](auto* t) { t->paste("12345"); }, "a123c"},
      {"pasting when full", 2, "ab", 2, 0, [](auto* t) { t->paste("1"); }, "ab"},
      {"pasting lines", 0, "ab", 2, 0, [](auto* t) { t->paste("one\r\ntwo"); }, "abone"},
      {"composing", 3, "", 0, 0, [](auto* t) { t->commit("가나다라"); }, "가나다"},
      {"no limit", 0, "", 0, 0, [](auto* t) { t->type("abcdefgh"); }, "abcdefgh"},
  };
  for (const Case& c : cases) {
    m_control->SetMaxLength(c.maxLength);
    m_control->SetText(c.initial);
    m_control->SetSelStart(c.selStart);
    m_control->SetSelLength(c.selLength);
    c.input(this);
    EXPECT_EQ(m_control->Text(), c.expected) << c.name;
  }

  // The program itself may put in more than the user can type.
  m_control->SetMaxLength(3);
  m_control->SetText(QStringLiteral("abcdef"));
  EXPECT_EQ(m_control->Text(), QStringLiteral("abcdef"));
}

TEST_F(KoltRichInputTest, ComposedCharactersPassKeyPress)
{
  m_control->events().KeyPress = [](short& a) {
    if (QChar(char16_t(ushort(a))) == u'나')
      a = 0;
  };
  commit(QStringLiteral("가나다"));
  EXPECT_EQ(m_control->Text(), QStringLiteral("가다"));
}

TEST_F(KoltRichInputTest, ChangeAndMouseEvents)
{
  QStringList seen;
  KoltRichEvents& e = m_control->events();
  e.Change = [&] { seen << "Change"; };
  e.Click = [&] { seen << "Click"; };
  e.DblClick = [&] { seen << "DblClick"; };
  e.MouseDown = [&](short& b, short& s, float& x, float& y) {
    seen << QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
  };
  e.MouseUp = [&](short& b, short&, float&, float&) { seen << QStringLiteral("MouseUp %1").arg(b); };

  type("a");
  m_control->SetText(QStringLiteral("ab"));
  m_control->SetForeColor(0x0000FF); // colour only: no Change
  EXPECT_EQ(seen, (QStringList{"Change", "Change"}));

  seen.clear();
  m_screen.resize(300, 100);
  m_control->widget()->resize(200, 30);
  m_screen.show();
  QWidget* viewport = m_box->viewport();
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, QPoint(3, 2));
  QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(3, 2));
  EXPECT_EQ(seen, (QStringList{"MouseDown 1 1 45 30", "MouseUp 1", "Click",
                               "MouseDown 2 0 45 30", "MouseUp 2"}));

  seen.clear();
  QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(3, 2));
  EXPECT_TRUE(seen.contains("DblClick"));
  EXPECT_FALSE(seen.contains("Click"));
}

} // namespace
