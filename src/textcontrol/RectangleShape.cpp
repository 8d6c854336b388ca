#include "textcontrol/RectangleShape.h"

#include "textcontrol/OleColors.h"

#include <QPainter>

namespace vcm {

RectangleShape::RectangleShape(QWidget* parent)
    : QWidget(parent), m_borderStyle(Border_Style::단일고정)
{
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void RectangleShape::setFillColor(OleColor color)
{
  m_fillColor = color;
  update();
}

void RectangleShape::setBorderColor(OleColor color)
{
  m_borderColor = color;
  update();
}

void RectangleShape::setBorderStyle(Border_Style style)
{
  m_borderStyle = style;
  update();
}

void RectangleShape::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.fillRect(rect(), OleColors::toColor(m_fillColor, palette()));
  if (m_borderStyle == Border_Style::단일고정 && width() > 0 && height() > 0) {
    painter.setPen(OleColors::toColor(m_borderColor, palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

} // namespace vcm
