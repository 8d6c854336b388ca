#include "common/grid/StandardImages.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace vcm {

namespace {

// Drawn at twice the logical size so they stay sharp on high-density screens.
constexpr qreal Scale = 2.0;

QPixmap canvas(int logicalSize)
{
  QPixmap pm(int(logicalSize * Scale), int(logicalSize * Scale));
  pm.setDevicePixelRatio(Scale);
  pm.fill(Qt::transparent);
  return pm;
}

void drawTick(QPainter& p, const QRectF& box, const QColor& colour, qreal width)
{
  QPainterPath tick;
  tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
  tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
  tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.30);
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(tick);
}

// A small square box for grid cells: blue with a white tick when checked.
QPixmap gridBox(bool checked)
{
  QPixmap pm = canvas(13);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0.5, 0.5, 12, 12);
  if (checked) {
    p.setPen(QPen(QColor(0x1F, 0x5F, 0xA8), 1));
    p.setBrush(QColor(0x2F, 0x76, 0xC8));
    p.drawRoundedRect(box, 2.5, 2.5);
    drawTick(p, box, Qt::white, 1.8);
  } else {
    p.setPen(QPen(QColor(0x8A, 0x93, 0x9E), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(box, 2.5, 2.5);
  }
  return pm;
}

// The larger picture of the pictured check boxes on forms: green tick on a soft tile.
QPixmap pictureBox(bool checked)
{
  QPixmap pm = canvas(16);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(0.5, 0.5, 15, 15);
  QLinearGradient fill(box.topLeft(), box.bottomLeft());
  fill.setColorAt(0, Qt::white);
  fill.setColorAt(1, QColor(0xEE, 0xF1, 0xF4));
  p.setPen(QPen(checked ? QColor(0x2E, 0x8B, 0x57) : QColor(0x9A, 0xA3, 0xAD), 1));
  p.setBrush(fill);
  p.drawRoundedRect(box, 3, 3);
  if (checked)
    drawTick(p, box, QColor(0x2E, 0x8B, 0x57), 2.2);
  return pm;
}

QHash<int, QPixmap>& images()
{
  static QHash<int, QPixmap> list;
  return list;
}

QPixmap drawn(int index)
{
  switch (index) {
  case StandardImages::GridChecked: return gridBox(true);
  case StandardImages::GridUnchecked: return gridBox(false);
  case StandardImages::PictureBoxChecked: return pictureBox(true);
  case StandardImages::PictureBoxUnchecked: return pictureBox(false);
  default: return QPixmap();
  }
}

} // namespace

QPixmap StandardImages::picture(int index)
{
  auto& list = images();
  auto it = list.constFind(index);
  if (it != list.constEnd())
    return *it;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return QPixmap();
  QPixmap pm = drawn(index);
  if (!pm.isNull())
    list.insert(index, pm);
  return pm;
}

void StandardImages::setPicture(int index, const QPixmap& pixmap)
{
  images().insert(index, pixmap);
}

QList<int> StandardImages::drawnIndexes()
{
  return {GridChecked, GridUnchecked, PictureBoxChecked, PictureBoxUnchecked};
}

} // namespace vcm
