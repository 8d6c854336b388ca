#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QWidget>

namespace vcm {

class RectangleShape;
class RichTextBox;

/// The text box of the input screens: a rectangle (`Shape1`) that gives the field its
/// border and fill, and a rich text box (`txtR`) inside it that holds the text. The
/// control keeps no state of its own; every property lives in one of the two parts.
class KoltRich : public QWidget, public IKoltRich {
  Q_OBJECT
  Q_INTERFACES(vcm::IKoltRich)
public:
  explicit KoltRich(QWidget* parent = nullptr);
  ~KoltRich() override;

  /// Controls alive in this process; the library may be unloaded only at 0.
  static int liveInstances();

  QWidget* widget() override { return this; }
  KoltRichEvents& events() override { return m_events; }

  short ImeMode() const override;
  void SetImeMode(short mode) override;
  OleColor ForeColor() const override;
  void SetForeColor(OleColor color) override;
  OleColor BackColor() const override;
  void SetBackColor(OleColor color) override;
  OleColor BorderColor() const override;
  void SetBorderColor(OleColor color) override;
  bool Enabled() override;
  void SetEnabled(bool enabled) override;
  bool Locked() const override;
  void SetLocked(bool locked) override;
  QFont Font() const override;
  void SetFont(const QFont& font) override;
  QString Text() const override;
  void SetText(const QString& text) override;
  QString ToolTipText() const override;
  void SetToolTipText(const QString& text) override;
  int SelStart() const override;
  void SetSelStart(int start) override;
  QString SelText() const override;
  void SetSelText(const QString& text) override;
  int SelLength() const override;
  void SetSelLength(int length) override;
  int MaxLength() const override;
  void SetMaxLength(int length) override;
  Border_Style BorderStyle() const override;
  void SetBorderStyle(Border_Style style) override;
  int SelAlignment() const override;
  void SetSelAlignment(int alignment) override;

  void ReadProperties(const QVariantMap& bag) override;
  QVariantMap WriteProperties() const override;

protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void applyEnabledBackground();
  void layoutParts();
  void forwardEvents();
  void applyLocked(bool locked);
  void applySelAlignment(int alignment);
  void loadSelection(int selStart, const QString& selText, int selLength);
  void propertyChanged(const char* name);
  QColor toColor(OleColor color) const;
  QFont ambientFont() const;

  RectangleShape* m_shape;
  RichTextBox* m_txtR;
  KoltRichEvents m_events;
};

} // namespace vcm
