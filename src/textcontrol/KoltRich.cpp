#include "textcontrol/KoltRich.h"

#include "textcontrol/OleColors.h"
#include "textcontrol/RectangleShape.h"
#include "textcontrol/RichTextBox.h"
#include "textcontrol/Twips.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QTextBlock>
#include <QTextCursor>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <imm.h>
#endif

namespace vcm {

namespace {

int g_liveInstances = 0;

// Position of the inner box and what the rectangle keeps around it, in twips.
constexpr double InnerLeft = 90;
constexpr double InnerTop = 60;
constexpr double InnerWidthLoss = 150;
constexpr double InnerHeightLoss = 75;

constexpr OleColor DefaultBorderColor = 0;
constexpr Border_Style DefaultBorderStyle = Border_Style::단일고정;
const QString DefaultLoadedText = QStringLiteral("txtR");
// A design saved with this text writes nothing, so it loads back as "txtR".
const QString DefaultSavedText = QStringLiteral("Text1");

/// Length of the text without blanks at either end.
int trimmedLength(const QString& text)
{
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first) == u' ')
    ++first;
  while (last > first && text.at(last - 1) == u' ')
    --last;
  return int(last - first);
}

OleColor colorIn(const QVariantMap& bag, const char* name, OleColor fallback)
{
  const QVariant value = bag.value(QLatin1String(name));
  // Colours may arrive as signed 32-bit numbers (system colours are then negative).
  return value.isValid() ? OleColor(value.toLongLong()) : fallback;
}

int intIn(const QVariantMap& bag, const char* name, int fallback)
{
  return bag.value(QLatin1String(name), fallback).toInt();
}

bool boolIn(const QVariantMap& bag, const char* name, bool fallback)
{
  return bag.value(QLatin1String(name), fallback).toBool();
}

QString textIn(const QVariantMap& bag, const char* name, const QString& fallback)
{
  return bag.value(QLatin1String(name), fallback).toString();
}

template <typename T>
void writeIfChanged(QVariantMap& bag, const char* name, const T& value, const T& fallback)
{
  if (!(value == fallback))
    bag.insert(QLatin1String(name), QVariant::fromValue(value));
}

} // namespace

KoltRich::KoltRich(QWidget* parent)
    : QWidget(parent), m_shape(new RectangleShape(this)), m_txtR(new RichTextBox(this))
{
  ++g_liveInstances;
  setObjectName(QLatin1String(koltrich::ClassName));
  m_shape->setObjectName(QStringLiteral("Shape1"));
  m_shape->lower();
  setFocusProxy(m_txtR);
  setFocusPolicy(m_txtR->focusPolicy());
  forwardEvents();
  // A new control starts as a design with nothing saved.
  ReadProperties({});
  layoutParts();
}

KoltRich::~KoltRich()
{
  --g_liveInstances;
}

int KoltRich::liveInstances()
{
  return g_liveInstances;
}

void KoltRich::forwardEvents()
{
  connect(m_txtR, &RichTextBox::Change, this, [this] {
    if (m_events.Change)
      m_events.Change();
  });
  connect(m_txtR, &RichTextBox::Click, this, [this] {
    if (m_events.Click)
      m_events.Click();
  });
  connect(m_txtR, &RichTextBox::DblClick, this, [this] {
    if (m_events.DblClick)
      m_events.DblClick();
  });
  connect(m_txtR, &RichTextBox::KeyDown, this, [this](short& keyCode, short& shift) {
    if (m_events.KeyDown)
      m_events.KeyDown(keyCode, shift);
  });
  connect(m_txtR, &RichTextBox::KeyPress, this, [this](short& keyAscii) {
    if (m_events.KeyPress)
      m_events.KeyPress(keyAscii);
  });
  connect(m_txtR, &RichTextBox::KeyUp, this, [this](short& keyCode, short& shift) {
    if (m_events.KeyUp)
      m_events.KeyUp(keyCode, shift);
  });
  connect(m_txtR, &RichTextBox::MouseDown, this,
          [this](short& button, short& shift, float& x, float& y) {
            if (m_events.MouseDown)
              m_events.MouseDown(button, shift, x, y);
          });
  connect(m_txtR, &RichTextBox::MouseMove, this,
          [this](short& button, short& shift, float& x, float& y) {
            if (m_events.MouseMove)
              m_events.MouseMove(button, shift, x, y);
          });
  connect(m_txtR, &RichTextBox::MouseUp, this,
          [this](short& button, short& shift, float& x, float& y) {
            if (m_events.MouseUp)
              m_events.MouseUp(button, shift, x, y);
          });
}

void KoltRich::propertyChanged(const char* name)
{
  if (m_events.PropertyChanged)
    m_events.PropertyChanged(QLatin1String(name));
}

QColor KoltRich::toColor(OleColor color) const
{
  return OleColors::toColor(color, QApplication::palette(m_txtR));
}

QFont KoltRich::ambientFont() const
{
  return parentWidget() ? parentWidget()->font() : QApplication::font();
}

short KoltRich::ImeMode() const
{
  return 0;
}

void KoltRich::SetImeMode(short mode)
{
  const bool korean = mode == 1;
#ifdef Q_OS_WIN
  // The input context belongs to the native window that holds the box.
  const HWND window = reinterpret_cast<HWND>(m_txtR->effectiveWinId());
  if (const HIMC context = ImmGetContext(window)) {
    ImmSetConversionStatus(context, korean ? IME_CMODE_NATIVE : IME_CMODE_ALPHANUMERIC,
                           IME_SMODE_NONE);
    ImmReleaseContext(window, context);
  }
#endif
  // Input method frameworks follow the hints of the focused widget: Latin-only asks for
  // alphanumeric input, no restriction lets the Korean engine run.
  Qt::InputMethodHints hints =
      m_txtR->inputMethodHints() & ~(Qt::ImhLatinOnly | Qt::ImhPreferLatin);
  if (!korean)
    hints |= Qt::ImhLatinOnly | Qt::ImhPreferLatin;
  m_txtR->setInputMethodHints(hints);
  if (m_txtR->hasFocus())
    QGuiApplication::inputMethod()->update(Qt::ImHints);
  propertyChanged("ImeMode");
}

OleColor KoltRich::ForeColor() const
{
  return OleColors::fromColor(m_txtR->selectionColor());
}

void KoltRich::SetForeColor(OleColor color)
{
  const QColor qcolor = toColor(color);
  const int length = trimmedLength(m_txtR->toPlainText());
  QTextCursor cursor = m_txtR->textCursor();
  cursor.setPosition(0);
  if (length > 0) {
    cursor.setPosition(length, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(qcolor);
    cursor.mergeCharFormat(format);
    cursor.setPosition(0);
    m_txtR->setTextCursor(cursor);
  } else {
    // Nothing to colour yet: what is typed next takes the colour.
    m_txtR->setTextCursor(cursor);
    m_txtR->setTextColor(qcolor);
  }
  propertyChanged("ForeColor");
}

OleColor KoltRich::BackColor() const
{
  return m_txtR->backColor();
}

void KoltRich::SetBackColor(OleColor color)
{
  m_txtR->setBackColor(color);
  m_shape->setFillColor(color);
  propertyChanged("BackColor");
}

OleColor KoltRich::BorderColor() const
{
  return m_shape->borderColor();
}

void KoltRich::SetBorderColor(OleColor color)
{
  m_shape->setBorderColor(color);
  propertyChanged("BorderColor");
}

bool KoltRich::Enabled()
{
  const bool enabled = m_txtR->isEnabledTo(this);
  applyEnabledBackground();
  return enabled;
}

void KoltRich::SetEnabled(bool enabled)
{
  m_txtR->setEnabled(enabled);
  applyEnabledBackground();
  propertyChanged("Enabled");
}

void KoltRich::applyEnabledBackground()
{
  const OleColor color = m_txtR->isEnabledTo(this) ? OleColors::White : OleColors::LightGrey;
  m_txtR->setBackColor(color);
  m_shape->setFillColor(color);
}

bool KoltRich::Locked() const
{
  return m_txtR->isReadOnly();
}

void KoltRich::SetLocked(bool locked)
{
  applyLocked(locked);
  propertyChanged("Locked");
}

void KoltRich::applyLocked(bool locked)
{
  m_txtR->setReadOnly(locked);
  // A locked field can still be selected and copied from, by mouse and by keyboard.
  if (locked)
    m_txtR->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QFont KoltRich::Font() const
{
  return m_txtR->font();
}

void KoltRich::SetFont(const QFont& font)
{
  m_txtR->setFont(font);
  propertyChanged("Font");
}

QString KoltRich::Text() const
{
  return m_txtR->toPlainText();
}

void KoltRich::SetText(const QString& text)
{
  m_txtR->setPlainText(text);
  propertyChanged("Text");
}

QString KoltRich::ToolTipText() const
{
  return m_txtR->toolTip();
}

void KoltRich::SetToolTipText(const QString& text)
{
  m_txtR->setToolTip(text);
  propertyChanged("ToolTipText");
}

int KoltRich::SelStart() const
{
  return m_txtR->textCursor().selectionStart();
}

void KoltRich::SetSelStart(int start)
{
  QTextCursor cursor = m_txtR->textCursor();
  cursor.setPosition(qBound(0, start, int(m_txtR->toPlainText().size())));
  m_txtR->setTextCursor(cursor);
  propertyChanged("SelStart");
}

QString KoltRich::SelText() const
{
  return m_txtR->textCursor().selectedText();
}

void KoltRich::SetSelText(const QString& text)
{
  QTextCursor cursor = m_txtR->textCursor();
  cursor.insertText(text);
  m_txtR->setTextCursor(cursor);
  propertyChanged("SelText");
}

int KoltRich::SelLength() const
{
  const QTextCursor cursor = m_txtR->textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void KoltRich::SetSelLength(int length)
{
  QTextCursor cursor = m_txtR->textCursor();
  const int start = cursor.selectionStart();
  const int end = qBound(start, start + qMax(0, length), int(m_txtR->toPlainText().size()));
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  m_txtR->setTextCursor(cursor);
  propertyChanged("SelLength");
}

int KoltRich::MaxLength() const
{
  return m_txtR->maxLength();
}

void KoltRich::SetMaxLength(int length)
{
  m_txtR->setMaxLength(length);
  propertyChanged("MaxLength");
}

Border_Style KoltRich::BorderStyle() const
{
  return m_shape->borderStyle();
}

void KoltRich::SetBorderStyle(Border_Style style)
{
  m_shape->setBorderStyle(style);
  propertyChanged("BorderStyle");
}

int KoltRich::SelAlignment() const
{
  const Qt::Alignment alignment = m_txtR->textCursor().blockFormat().alignment();
  if (alignment & Qt::AlignRight)
    return 1;
  if (alignment & Qt::AlignHCenter)
    return 2;
  return 0;
}

void KoltRich::SetSelAlignment(int alignment)
{
  applySelAlignment(alignment);
  propertyChanged("SelAlignment");
}

void KoltRich::applySelAlignment(int alignment)
{
  switch (alignment) {
  case 0: m_txtR->setAlignment(Qt::AlignLeft); break;
  case 1: m_txtR->setAlignment(Qt::AlignRight); break;
  case 2: m_txtR->setAlignment(Qt::AlignHCenter); break;
  default: break; // not an alignment the box knows; leave it
  }
}

void KoltRich::ReadProperties(const QVariantMap& bag)
{
  // Straight to the parts, in this order: the colour before the text, so that the
  // loaded text takes the loaded colour; the selection after the text it selects in.
  const OleColor backColor = colorIn(bag, "BackColor", OleColors::Window);
  m_txtR->setBackColor(backColor);
  m_shape->setFillColor(backColor);
  m_shape->setBorderColor(colorIn(bag, "BorderColor", DefaultBorderColor));
  m_txtR->setTextColor(toColor(colorIn(bag, "ForeColor", OleColors::WindowText)));
  m_txtR->setEnabled(boolIn(bag, "Enabled", true));
  applyLocked(boolIn(bag, "Locked", false));
  const QVariant font = bag.value(QStringLiteral("Font"));
  m_txtR->setFont(font.canConvert<QFont>() ? font.value<QFont>() : ambientFont());
  m_txtR->setPlainText(textIn(bag, "Text", DefaultLoadedText));
  m_txtR->setToolTip(textIn(bag, "ToolTipText", QString()));

  loadSelection(intIn(bag, "SelStart", 0), textIn(bag, "SelText", QString()),
                intIn(bag, "SelLength", 0));

  m_txtR->setMaxLength(intIn(bag, "MaxLength", 0));
  m_shape->setBorderStyle(intIn(bag, "BorderStyle", int(DefaultBorderStyle)) == 0
                              ? Border_Style::없음
                              : Border_Style::단일고정);
  applySelAlignment(intIn(bag, "SelAlignment", 0));
}

void KoltRich::loadSelection(int selStart, const QString& selText, int selLength)
{
  QTextCursor cursor = m_txtR->textCursor();
  cursor.setPosition(qBound(0, selStart, int(m_txtR->toPlainText().size())));
  const int start = cursor.position();
  // A saved SelText is normally just the text the saved selection covers, and writing
  // it again would put it in twice. Only a text that is not already there goes in.
  QTextCursor saved = cursor;
  saved.setPosition(qMin(start + qMax(0, selLength), int(m_txtR->toPlainText().size())),
                    QTextCursor::KeepAnchor);
  if (saved.selectedText() != selText)
    cursor.insertText(selText);
  const int end = qBound(cursor.position(), cursor.position() + selLength,
                         int(m_txtR->toPlainText().size()));
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  m_txtR->setTextCursor(cursor);
}

QVariantMap KoltRich::WriteProperties() const
{
  QVariantMap bag;
  writeIfChanged(bag, "BackColor", m_txtR->backColor(), OleColors::Window);
  writeIfChanged(bag, "BorderColor", m_shape->borderColor(), DefaultBorderColor);
  writeIfChanged(bag, "ForeColor", ForeColor(), OleColors::WindowText);
  writeIfChanged(bag, "Enabled", m_txtR->isEnabledTo(this), true);
  writeIfChanged(bag, "Locked", m_txtR->isReadOnly(), false);
  writeIfChanged(bag, "Font", m_txtR->font(), ambientFont());
  writeIfChanged(bag, "Text", Text(), DefaultSavedText);
  writeIfChanged(bag, "ToolTipText", ToolTipText(), QString());
  writeIfChanged(bag, "SelStart", SelStart(), 0);
  writeIfChanged(bag, "SelText", SelText(), QString());
  writeIfChanged(bag, "SelLength", SelLength(), 0);
  writeIfChanged(bag, "MaxLength", MaxLength(), 0);
  writeIfChanged(bag, "BorderStyle", int(BorderStyle()), int(DefaultBorderStyle));
  writeIfChanged(bag, "SelAlignment", SelAlignment(), 0);
  return bag;
}

void KoltRich::resizeEvent(QResizeEvent* event)
{
  QWidget::resizeEvent(event);
  layoutParts();
}

void KoltRich::layoutParts()
{
  m_shape->setGeometry(rect());
  // A control smaller than the margins leaves an empty inner box, not a negative one.
  const int width = Twips::toPixelsX(this, Twips::fromPixelsX(this, this->width()) - InnerWidthLoss);
  const int height =
      Twips::toPixelsY(this, Twips::fromPixelsY(this, this->height()) - InnerHeightLoss);
  m_txtR->setGeometry(Twips::toPixelsX(this, InnerLeft), Twips::toPixelsY(this, InnerTop),
                      qMax(0, width), qMax(0, height));
}

void KoltRich::showEvent(QShowEvent* event)
{
  QWidget::showEvent(event);
  applyEnabledBackground();
}

} // namespace vcm
