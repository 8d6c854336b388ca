// Properties, saved designs, layout and painting of a KoltRich created by its ProgID.
#include "RegisteredLibrary.h"

#include "platform/ScriptedUi.h"
#include "textcontrol/ControlFactory.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

#include <functional>
#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <imm.h>
#endif

using namespace vcm;

namespace {

constexpr OleColor Red = 0x0000FF; // &HBBGGRR
constexpr OleColor Blue = 0xFF0000;

QColor rgb(OleColor c)
{
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

class KoltRichTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    test::registerBuiltLibrary();
    m_parent.setFont(QFont(QStringLiteral("NanumGothic"), 11));
    m_parent.resize(400, 200);
    m_control = create();
    ASSERT_NE(m_control, nullptr);
  }

  IKoltRich* create()
  {
    return createControl(QString::fromLatin1(koltrich::ProgId), &m_parent);
  }

  /// Sizes the control in twips and shows it, as a screen does.
  void place(IKoltRich* control, int widthTwips, int heightTwips)
  {
    control->widget()->resize(widthTwips / 15, heightTwips / 15);
    m_parent.show();
    control->widget()->show();
  }

  ScopedScriptedUi m_ui;
  QWidget m_parent;
  IKoltRich* m_control = nullptr;
};

// What a new control and one loaded from an empty bag both look like.
void expectDefaults(IKoltRich* c, const QFont& ambient)
{
  EXPECT_EQ(c->ImeMode(), 0);
  EXPECT_EQ(c->BackColor(), 0x80000005u);
  EXPECT_EQ(c->BorderColor(), 0u);
  EXPECT_EQ(rgb(c->ForeColor()), QApplication::palette().color(QPalette::Text));
  EXPECT_FALSE(c->Locked());
  EXPECT_EQ(c->Font(), ambient);
  EXPECT_EQ(c->Text(), QStringLiteral("txtR"));
  EXPECT_EQ(c->ToolTipText(), QString());
  EXPECT_EQ(c->SelStart(), 0);
  EXPECT_EQ(c->SelLength(), 0);
  EXPECT_EQ(c->SelText(), QString());
  EXPECT_EQ(c->MaxLength(), 0);
  EXPECT_EQ(c->BorderStyle(), Border_Style::단일고정);
  EXPECT_EQ(c->SelAlignment(), 0);
  EXPECT_TRUE(c->Enabled()); // last: reading repaints the background
}

TEST_F(KoltRichTest, DefaultsAfterCreationAndAfterLoadingAnEmptyBag)
{
  expectDefaults(m_control, m_parent.font());

  IKoltRich* loaded = create();
  loaded->SetBackColor(Red);
  loaded->SetBorderColor(Blue);
  loaded->SetEnabled(false);
  loaded->SetLocked(true);
  loaded->SetFont(QFont(QStringLiteral("Serif"), 20));
  loaded->SetText(QStringLiteral("something"));
  loaded->SetToolTipText(QStringLiteral("tip"));
  loaded->SetMaxLength(4);
  loaded->SetBorderStyle(Border_Style::없음);
  loaded->SetSelAlignment(2);
  loaded->ReadProperties({});
  expectDefaults(loaded, m_parent.font());
}

TEST_F(KoltRichTest, SavedDesignLoadsBackIntoANewControl)
{
  const QFont font(QStringLiteral("Serif"), 14, QFont::Bold);
  m_control->SetBackColor(Red);
  m_control->SetBorderColor(Blue);
  m_control->SetLocked(true);
  m_control->SetFont(font);
  m_control->SetText(QStringLiteral("  잔액 1,000  "));
  m_control->SetForeColor(Blue);
  m_control->SetToolTipText(QStringLiteral("금액"));
  m_control->SetMaxLength(12);
  m_control->SetBorderStyle(Border_Style::없음);
  m_control->SetSelAlignment(1);
  m_control->SetSelStart(2);
  m_control->SetSelLength(2);
  m_control->SetEnabled(false);
  const QVariantMap bag = m_control->WriteProperties();

  IKoltRich* copy = create();
  copy->ReadProperties(bag);
  EXPECT_EQ(copy->BackColor(), 0xE0E0E0u); // disabling painted it grey
  EXPECT_EQ(copy->BorderColor(), Blue);
  EXPECT_EQ(copy->ForeColor(), Blue);
  EXPECT_TRUE(copy->Locked());
  EXPECT_EQ(copy->Font(), font);
  EXPECT_EQ(copy->Text(), QStringLiteral("  잔액 1,000  "));
  EXPECT_EQ(copy->ToolTipText(), QStringLiteral("금액"));
  EXPECT_EQ(copy->SelStart(), 2);
  EXPECT_EQ(copy->SelLength(), 2);
  EXPECT_EQ(copy->SelText(), QStringLiteral("잔액"));
  EXPECT_EQ(copy->MaxLength(), 12);
  EXPECT_EQ(copy->BorderStyle(), Border_Style::없음);
  EXPECT_EQ(copy->SelAlignment(), 1);
  EXPECT_FALSE(copy->Enabled());
}

TEST_F(KoltRichTest, SavedTextAndColoursFollowTheirDefaults)
{
  struct Case {
    QString text;
    bool written;
    QString loaded;
  };
  const Case cases[] = {
      {QStringLiteral("Text1"), false, QStringLiteral("txtR")},
      {QStringLiteral("txtR"), true, QStringLiteral("txtR")},
      {QString(), true, QString()},
      {QStringLiteral("메모"), true, QStringLiteral("메모")},
  };
  for (const Case& c : cases) {
    m_control->SetText(c.text);
    const QVariantMap bag = m_control->WriteProperties();
    EXPECT_EQ(bag.contains(QStringLiteral("Text")), c.written) << c.text.toStdString();
    IKoltRich* copy = create();
    copy->ReadProperties(bag);
    EXPECT_EQ(copy->Text(), c.loaded);
  }

  // Older designs store system colours as signed 32-bit numbers.
  IKoltRich* copy = create();
  copy->ReadProperties({{QStringLiteral("BackColor"), int(0x8000000F)},
                        {QStringLiteral("BorderColor"), qint64(0x00FF00)}});
  EXPECT_EQ(copy->BackColor(), 0x8000000Fu);
  EXPECT_EQ(copy->BorderColor(), 0x00FF00u);
  EXPECT_FALSE(copy->WriteProperties().contains(QStringLiteral("BorderStyle")));
}

TEST_F(KoltRichTest, InnerBoxKeepsItsMarginsWhenResized)
{
  struct Case {
    int width, height;             // control, twips
    QRect inner;                   // inner box, twips
  };
  const Case cases[] = {
      {1500, 300, QRect(90, 60, 1350, 225)},
      {3000, 450, QRect(90, 60, 2850, 375)},
      {75, 45, QRect(90, 60, 0, 0)}, // smaller than the margins: empty, no error
  };
  for (const Case& c : cases) {
    place(m_control, c.width, c.height);
    const QRect px = test::innerBox(m_control)->geometry();
    EXPECT_EQ(QRect(px.x() * 15, px.y() * 15, px.width() * 15, px.height() * 15), c.inner)
        << c.width << "x" << c.height;
  }
}

TEST_F(KoltRichTest, EnabledStatePaintsFieldAndRectangle)
{
  m_control->SetText(QString());
  place(m_control, 1500, 300);
  const QPoint rectangleFill(2, 2); // inside the border, outside the inner box
  const QPoint innerBox(40, 10);
  struct Case {
    bool enabled;
    QColor expected;
  };
  const Case cases[] = {{false, QColor(0xE0, 0xE0, 0xE0)}, {true, Qt::white},
                        {false, QColor(0xE0, 0xE0, 0xE0)}};
  for (const Case& c : cases) {
    m_control->SetEnabled(c.enabled);
    EXPECT_EQ(m_control->Enabled(), c.enabled);
    EXPECT_EQ(rgb(m_control->BackColor()), c.expected);
    const QImage image = m_control->widget()->grab().toImage();
    EXPECT_EQ(image.pixelColor(rectangleFill), c.expected) << c.enabled;
    EXPECT_EQ(image.pixelColor(innerBox), c.expected) << c.enabled;
  }

  // Reading Enabled repaints over a colour set in between.
  m_control->SetBackColor(Red);
  EXPECT_FALSE(m_control->Enabled());
  EXPECT_EQ(m_control->BackColor(), 0xE0E0E0u);
}

TEST_F(KoltRichTest, BorderFollowsColourAndStyle)
{
  m_control->SetText(QString());
  place(m_control, 1500, 300);
  m_control->SetBorderColor(Red);
  EXPECT_EQ(m_control->widget()->grab().toImage().pixelColor(0, 0), rgb(Red));
  m_control->SetBorderStyle(Border_Style::없음);
  EXPECT_EQ(m_control->widget()->grab().toImage().pixelColor(0, 0), QColor(Qt::white));
}

TEST_F(KoltRichTest, ForeColorColoursTheTrimmedLengthFromTheStart)
{
  struct Case {
    QString text;
    int coloured; // characters from the start
  };
  const Case cases[] = {
      {QStringLiteral("  ab  "), 2},
      {QStringLiteral("abc"), 3},
      {QStringLiteral("ab   "), 2},
      {QStringLiteral("   "), 0},
  };
  for (const Case& c : cases) {
    IKoltRich* control = create();
    control->SetText(c.text);
    control->SetForeColor(Red);
    QTextDocument* doc = test::innerBox(control)->document();
    for (int i = 0; i < c.text.size(); ++i) {
      QTextCursor cursor(doc);
      cursor.setPosition(i + 1);
      EXPECT_EQ(cursor.charFormat().foreground().color() == rgb(Red), i < c.coloured)
          << '"' << c.text.toStdString() << "\" at " << i;
    }
    EXPECT_EQ(control->SelStart(), 0);
    EXPECT_EQ(control->SelLength(), 0);
  }

  // An empty box colours what is typed next.
  m_control->SetText(QString());
  m_control->SetForeColor(Red);
  test::innerBox(m_control)->insertPlainText(QStringLiteral("x"));
  EXPECT_EQ(m_control->ForeColor(), Red);
}

TEST_F(KoltRichTest, SelectionPropertiesStayInsideTheText)
{
  m_control->SetText(QStringLiteral("hello"));
  m_control->SetSelStart(1);
  m_control->SetSelLength(3);
  EXPECT_EQ(m_control->SelText(), QStringLiteral("ell"));
  m_control->SetSelText(QStringLiteral("ipp"));
  EXPECT_EQ(m_control->Text(), QStringLiteral("hippo"));
  EXPECT_EQ(m_control->SelStart(), 4);

  m_control->SetSelStart(99);
  EXPECT_EQ(m_control->SelStart(), 5);
  m_control->SetSelStart(3);
  m_control->SetSelLength(99);
  EXPECT_EQ(m_control->SelText(), QStringLiteral("po"));
  m_control->SetSelStart(-4);
  EXPECT_EQ(m_control->SelStart(), 0);
}

#ifdef Q_OS_WIN
/// Whether a plain window of this thread gets an input context at all.
bool systemGivesInputContexts()
{
  const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  const HIMC context = ImmGetContext(plain);
  if (context)
    ImmReleaseContext(plain, context);
  DestroyWindow(plain);
  return context != nullptr;
}
#endif

TEST_F(KoltRichTest, ImeModeSwitchesInputAndReadsZero)
{
  QTextEdit* box = test::innerBox(m_control);
  // Screens switch the mode of the field that has the focus.
  place(m_control, 3000, 400);
  QApplication::setActiveWindow(&m_parent);
  box->setFocus();
  QApplication::processEvents();
  const struct {
    short mode;
    bool korean;
  } cases[] = {{1, true}, {2, false}, {1, true}, {0, false}, {7, false}};
  for (const auto& c : cases) {
    m_control->SetImeMode(c.mode);
    EXPECT_EQ(!(box->inputMethodHints() & Qt::ImhLatinOnly), c.korean) << c.mode;
    EXPECT_EQ(m_control->ImeMode(), 0);
#ifdef Q_OS_WIN
    // On the native platform the box's window has an input context of the system's.
    if (QGuiApplication::platformName() == QLatin1String("windows")) {
      const HWND window = reinterpret_cast<HWND>(box->effectiveWinId());
      const HIMC context = ImmGetContext(window);
      if (!context && !systemGivesInputContexts())
        GTEST_SKIP() << "this system gives no window an input context (Wine without an input method)";
      ASSERT_NE(context, nullptr);
      DWORD conversion = 0, sentence = 0;
      EXPECT_TRUE(ImmGetConversionStatus(context, &conversion, &sentence));
      EXPECT_EQ((conversion & IME_CMODE_NATIVE) != 0, c.korean) << c.mode;
      ImmReleaseContext(window, context);
    }
#endif
  }
}

TEST_F(KoltRichTest, EveryWriteRecordsAChangeUnderThePropertysName)
{
  QStringList changed;
  m_control->events().PropertyChanged = [&](const QString& name) { changed << name; };
  IKoltRich* c = m_control;
  const std::pair<const char*, std::function<void()>> writes[] = {
      {"ImeMode", [c] { c->SetImeMode(1); }},
      {"ForeColor", [c] { c->SetForeColor(Red); }},
      {"BackColor", [c] { c->SetBackColor(Red); }},
      {"BorderColor", [c] { c->SetBorderColor(Red); }},
      {"Enabled", [c] { c->SetEnabled(false); }},
      {"Locked", [c] { c->SetLocked(true); }},
      {"Font", [c] { c->SetFont(QFont()); }},
      {"Text", [c] { c->SetText(QStringLiteral("x")); }},
      {"ToolTipText", [c] { c->SetToolTipText(QStringLiteral("x")); }},
      {"SelStart", [c] { c->SetSelStart(0); }},
      {"SelText", [c] { c->SetSelText(QStringLiteral("y")); }},
      {"SelLength", [c] { c->SetSelLength(1); }},
      {"MaxLength", [c] { c->SetMaxLength(3); }},
      {"BorderStyle", [c] { c->SetBorderStyle(Border_Style::없음); }},
      {"SelAlignment", [c] { c->SetSelAlignment(2); }},
  };
  for (const auto& [name, write] : writes) {
    changed.clear();
    write();
    EXPECT_EQ(changed, QStringList{QLatin1String(name)});
  }
  // Reads and loading record nothing.
  changed.clear();
  c->Enabled();
  c->WriteProperties();
  c->ReadProperties({});
  EXPECT_TRUE(changed.isEmpty());
}

} // namespace
