#include "textcontrol/RichTextBox.h"

#include "textcontrol/OleColors.h"
#include "textcontrol/Twips.h"
#include "textcontrol/VirtualKeys.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>

#include <climits>

namespace vcm {

namespace {

constexpr short LeftButton = 1;
constexpr short RightButton = 2;
constexpr short MiddleButton = 4;

short buttonMask(Qt::MouseButtons buttons)
{
  short mask = 0;
  if (buttons & Qt::LeftButton)
    mask |= LeftButton;
  if (buttons & Qt::RightButton)
    mask |= RightButton;
  if (buttons & Qt::MiddleButton)
    mask |= MiddleButton;
  return mask;
}

bool isLineBreak(QChar ch)
{
  return ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator
         || ch == QChar::ParagraphSeparator;
}

/// A Ctrl+letter combination: the box acts on it as a command, not as a character.
bool isControlShortcut(const QKeyEvent& event)
{
  const Qt::KeyboardModifiers mods = event.modifiers();
  if (!(mods & Qt::ControlModifier) || (mods & Qt::AltModifier))
    return false;
  switch (event.key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Backspace:
  case Qt::Key_Escape:
    return false;
  default:
    return true;
  }
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent)
{
  setObjectName(QStringLiteral("txtR"));
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setTabChangesFocus(true);
  // Pasted text arrives as plain text and takes the box's own formatting.
  setAcceptRichText(false);
  document()->setDocumentMargin(0);
  connect(this, &QTextEdit::textChanged, this, &RichTextBox::onTextChanged);
  paintBackColor();
}

void RichTextBox::setMaxLength(int length)
{
  m_maxLength = qMax(0, length);
}

void RichTextBox::setBackColor(OleColor color)
{
  m_backColor = color;
  paintBackColor();
}

QColor RichTextBox::selectionColor() const
{
  // The format of the first selected character, or of the character before the cursor.
  const QTextCursor current = textCursor();
  QTextCursor probe(document());
  probe.setPosition(current.selectionStart() + (current.hasSelection() ? 1 : 0));
  const QTextCharFormat format = probe.charFormat();
  if (format.hasProperty(QTextFormat::ForegroundBrush))
    return format.foreground().color();
  return palette().color(QPalette::Text);
}

int RichTextBox::room() const
{
  if (m_maxLength <= 0)
    return INT_MAX;
  const QTextCursor cursor = textCursor();
  const int selected = cursor.selectionEnd() - cursor.selectionStart();
  return m_maxLength - (int(toPlainText().size()) - selected);
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
  const short originalCode = VirtualKeys::keyCode(*event);
  const short originalShift = VirtualKeys::shiftMask(event->modifiers());
  short keyCode = originalCode;
  short shift = originalShift;
  if (originalCode != 0)
    emit KeyDown(keyCode, shift);
  const bool keyChanged = keyCode != originalCode || shift != originalShift;

  const int originalChar = VirtualKeys::charCode(*event);
  if (originalChar < 0) {
    if (keyChanged) {
      applyKey(nullptr, keyCode, shift);
      event->accept();
    } else {
      applyKey(event, keyCode, shift);
    }
    return;
  }

  short keyAscii = short(originalChar);
  emit KeyPress(keyAscii);
  if (keyAscii == 0) {
    event->accept();
    return;
  }
  if (keyAscii != short(originalChar)) {
    applyCharacter(nullptr, ushort(keyAscii));
    event->accept();
    return;
  }
  // A Ctrl shortcut is a key as much as a character: clearing or changing its key code
  // in KeyDown also stops it (a screen that refuses Ctrl+V may do either).
  if (keyChanged && isControlShortcut(*event)) {
    applyKey(nullptr, keyCode, shift);
    event->accept();
    return;
  }
  applyCharacter(event, originalChar);
}

void RichTextBox::applyKey(QKeyEvent* original, short keyCode, short shift)
{
  if (original) {
    const int key = original->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
      original->ignore(); // a single field has no use for a line break
    else
      QTextEdit::keyPressEvent(original);
    return;
  }
  if (keyCode == 0)
    return;
  const QKeyCombination combination = VirtualKeys::qtKey(keyCode);
  const Qt::Key key = combination.key();
  if (key == Qt::Key_unknown || key == Qt::Key_Return || key == Qt::Key_Enter)
    return;
  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    focusNextPrevChild(key == Qt::Key_Tab && !(shift & VirtualKeys::ShiftMask));
    return;
  }
  QKeyEvent changed(QEvent::KeyPress, key,
                    combination.keyboardModifiers() | VirtualKeys::modifiers(shift));
  QTextEdit::keyPressEvent(&changed);
}

void RichTextBox::applyCharacter(QKeyEvent* original, int charCode)
{
  switch (charCode) {
  case 13:
  case 27:
    // Enter and Esc belong to the host (default and cancel buttons); let them travel up.
    if (original)
      original->ignore();
    return;
  case 8:
    if (original) {
      QTextEdit::keyPressEvent(original);
    } else {
      QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
      QTextEdit::keyPressEvent(&backspace);
    }
    return;
  default:
    break;
  }
  if (charCode < 32) {
    if (original) {
      QTextEdit::keyPressEvent(original);
      return;
    }
    // A handler turned the key into a control character: do what that character does.
    switch (charCode) {
    case 1: selectAll(); break;
    case 3: copy(); break;
    case 22: paste(); break;
    case 24: cut(); break;
    case 25: redo(); break;
    case 26: undo(); break;
    default: break;
    }
    return;
  }
  if (isReadOnly())
    return;
  if (room() <= 0) {
    QApplication::beep();
    return;
  }
  if (original) {
    QTextEdit::keyPressEvent(original);
    return;
  }
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                  QString(QChar(char16_t(charCode))));
  QTextEdit::keyPressEvent(&typed);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
  short keyCode = VirtualKeys::keyCode(*event);
  short shift = VirtualKeys::shiftMask(event->modifiers());
  if (keyCode == 0) {
    QTextEdit::keyReleaseEvent(event);
    return;
  }
  emit KeyUp(keyCode, shift);
  if (keyCode == 0) {
    event->accept();
    return;
  }
  QTextEdit::keyReleaseEvent(event);
}

void RichTextBox::inputMethodEvent(QInputMethodEvent* event)
{
  if (event->commitString().isEmpty()) {
    QTextEdit::inputMethodEvent(event);
    return;
  }
  // Characters composed by the input method pass KeyPress one by one, like typed ones.
  QString commit;
  for (const QChar ch : event->commitString()) {
    short keyAscii = short(ch.unicode());
    emit KeyPress(keyAscii);
    const QChar kept{char16_t(ushort(keyAscii))};
    if (keyAscii != 0 && kept.isPrint())
      commit += kept;
  }
  if (commit.size() > room()) {
    commit.truncate(qMax(0, room()));
    QApplication::beep();
  }
  QInputMethodEvent changed(event->preeditString(), event->attributes());
  changed.setCommitString(commit, event->replacementStart(), event->replacementLength());
  QTextEdit::inputMethodEvent(&changed);
  event->setAccepted(changed.isAccepted());
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
  // Ctrl+V, Shift+Insert, the context menu's paste and a drop all end here. Each character
  // passes KeyPress as a typed one does and goes in at once, so a handler that changes or
  // swallows keys sees the text as it grows and keeps out what it would keep out when typed.
  if (!source || !source->hasText() || isReadOnly())
    return;
  for (const QChar ch : source->text()) {
    if (isLineBreak(ch))
      break; // one line only
    short keyAscii = short(ch.unicode());
    emit KeyPress(keyAscii);
    const QChar kept{char16_t(ushort(keyAscii))};
    if (keyAscii == 0 || !(kept.isPrint() || kept.isSurrogate())) // an emoji stays whole
      continue;
    if (room() <= 0) {
      QApplication::beep();
      break;
    }
    insertPlainText(QString(kept));
  }
}

void RichTextBox::raiseMouse(void (RichTextBox::*signal)(short&, short&, float&, float&),
                             const QMouseEvent* event, Qt::MouseButtons buttons)
{
  short button = buttonMask(buttons);
  short shift = VirtualKeys::shiftMask(event->modifiers());
  float x = float(Twips::fromPixelsX(this, event->position().x()));
  float y = float(Twips::fromPixelsY(this, event->position().y()));
  emit(this->*signal)(button, shift, x, y);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
  m_pressed = true;
  m_afterDoubleClick = false;
  raiseMouse(&RichTextBox::MouseDown, event, event->button());
  QTextEdit::mousePressEvent(event);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event)
{
  raiseMouse(&RichTextBox::MouseUp, event, event->button());
  QTextEdit::mouseReleaseEvent(event);
  // The release that ends a double click raises no second Click.
  const bool click = m_pressed && !m_afterDoubleClick && event->button() == Qt::LeftButton
                     && rect().contains(event->position().toPoint());
  m_pressed = false;
  m_afterDoubleClick = false;
  if (click)
    emit Click();
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event)
{
  m_pressed = true;
  m_afterDoubleClick = true;
  emit DblClick();
  QTextEdit::mouseDoubleClickEvent(event);
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event)
{
  raiseMouse(&RichTextBox::MouseMove, event, event->buttons());
  QTextEdit::mouseMoveEvent(event);
}

void RichTextBox::changeEvent(QEvent* event)
{
  QTextEdit::changeEvent(event);
  // A system colour follows the desktop's palette.
  if (event->type() == QEvent::ApplicationPaletteChange && (m_backColor & 0x80000000))
    paintBackColor();
}

void RichTextBox::paintBackColor()
{
  // System colours resolve against the application's palette, not our own, whose base
  // colour this very call overwrites.
  const QColor color = OleColors::toColor(m_backColor, QApplication::palette(this));
  QPalette own = palette();
  own.setColor(QPalette::Base, color); // every colour group: disabled too
  setPalette(own);
}

void RichTextBox::onTextChanged()
{
  // textChanged also fires for colour changes; Change is about the text only.
  const QString text = toPlainText();
  if (text == m_lastText)
    return;
  m_lastText = text;
  emit Change();
}

} // namespace vcm
