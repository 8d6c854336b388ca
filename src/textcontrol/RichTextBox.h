#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QTextEdit>

namespace vcm {

/// The inner text box: a rich text edit set up as a single field (one line, no scroll
/// bars, no frame; Enter and Esc go to the host). It raises the key and mouse events with
/// reference arguments and applies what the handlers leave in them, and it keeps typed
/// and pasted text within maxLength().
class RichTextBox : public QTextEdit {
  Q_OBJECT
public:
  explicit RichTextBox(QWidget* parent = nullptr);

  /// 0 = no limit.
  int maxLength() const { return m_maxLength; }
  void setMaxLength(int length);

  OleColor backColor() const { return m_backColor; }
  void setBackColor(OleColor color);

  /// Text colour at the cursor (or the start of the selection).
  QColor selectionColor() const;

signals:
  void Change();
  void Click();
  void DblClick();
  void KeyDown(short& KeyCode, short& Shift);
  void KeyPress(short& KeyAscii);
  void KeyUp(short& KeyCode, short& Shift);
  void MouseDown(short& Button, short& Shift, float& x, float& y);
  void MouseMove(short& Button, short& Shift, float& x, float& y);
  void MouseUp(short& Button, short& Shift, float& x, float& y);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  /// Characters the user may still add in place of the selection.
  int room() const;
  void applyCharacter(QKeyEvent* original, int charCode);
  void applyKey(QKeyEvent* original, short keyCode, short shift);
  void raiseMouse(void (RichTextBox::*signal)(short&, short&, float&, float&),
                  const QMouseEvent* event, Qt::MouseButtons buttons);
  void paintBackColor();
  void onTextChanged();

  int m_maxLength = 0;
  OleColor m_backColor = 0x80000005;
  QString m_lastText;
  bool m_afterDoubleClick = false;
  bool m_pressed = false;
};

} // namespace vcm
