#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QWidget>

namespace vcm {

/// The rectangle behind the text box: gives the field its border and its fill.
class RectangleShape : public QWidget {
  Q_OBJECT
public:
  explicit RectangleShape(QWidget* parent = nullptr);

  OleColor fillColor() const { return m_fillColor; }
  void setFillColor(OleColor color);

  OleColor borderColor() const { return m_borderColor; }
  void setBorderColor(OleColor color);

  Border_Style borderStyle() const { return m_borderStyle; }
  void setBorderStyle(Border_Style style);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  OleColor m_fillColor = 0x80000005;
  OleColor m_borderColor = 0;
  Border_Style m_borderStyle;
};

} // namespace vcm
