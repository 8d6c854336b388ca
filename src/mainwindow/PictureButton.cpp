#include "mainwindow/PictureButton.h"

#include <QPainter>

namespace vcm {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent)
{
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setPicture(const QPixmap& picture)
{
  m_picture = picture;
  update();
}

void PictureButton::setSecondPicture(const QPixmap& picture)
{
  m_secondPicture = picture;
  update();
}

void PictureButton::setPictures(const QPixmap& picture, const QPixmap& secondPicture)
{
  m_picture = picture;
  m_secondPicture = secondPicture;
  update();
}

QSize PictureButton::sizeHint() const
{
  return m_picture.isNull() ? QSize(24, 24) : m_picture.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const bool pressed = isDown() || isChecked();
  const QPixmap& shown = pressed && !m_secondPicture.isNull() ? m_secondPicture : m_picture;
  if (!isEnabled())
    p.setOpacity(0.4);
  if (!shown.isNull())
    p.drawPixmap(rect(), shown);
  if (isEnabled() && m_hovered && !pressed) {
    // A faint veil tells the pointer is over a live button without new artwork.
    p.fillRect(rect(), QColor(255, 255, 255, 28));
  }
}

void PictureButton::enterEvent(QEnterEvent* event)
{
  m_hovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent* event)
{
  m_hovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

} // namespace vcm
