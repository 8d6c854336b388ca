#include "ledger/WorkIndicator.h"

#include <QPainter>

namespace vcm {

WorkIndicator::WorkIndicator(QWidget* parent) : QWidget(parent)
{
  m_timer.setInterval(180);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    m_frame = (m_frame + 1) % 6;
    update();
  });
}

void WorkIndicator::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = rect().adjusted(1, 1, -1, -1);
  p.setPen(QColor(0xD0, 0x89, 0x4F));
  p.setBrush(QColor(0xFF, 0xF4, 0xE5));
  p.drawRoundedRect(r, 6, 6);
  // A pencil: a slanted body with a dark tip.
  p.save();
  p.translate(14, r.center().y());
  p.rotate(-40);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xE8, 0xA0, 0x30));
  p.drawRect(QRectF(-2, -8, 4, 12));
  p.setBrush(QColor(0x40, 0x40, 0x40));
  p.drawPolygon(QPolygonF({QPointF(-2, 4), QPointF(2, 4), QPointF(0, 8)}));
  p.restore();
  p.setPen(QColor(0x80, 0x40, 0x10));
  p.drawText(QRectF(26, 0, r.width() - 60, height()), Qt::AlignVCenter, QStringLiteral("수정 작업중"));
  for (int i = 0; i < 3; ++i) {
    const bool lit = (m_frame / 2) == i;
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor(0xD0, 0x50, 0x20) : QColor(0xE0, 0xC0, 0xA0));
    p.drawEllipse(QPointF(r.right() - 30 + i * 9, r.center().y()), 3, 3);
  }
}

void WorkIndicator::showEvent(QShowEvent*)
{
  m_timer.start();
}

void WorkIndicator::hideEvent(QHideEvent*)
{
  m_timer.stop();
}

} // namespace vcm
