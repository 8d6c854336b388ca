#include "mainwindow/MainArtwork.h"

#include <QPainter>
#include <QPainterPath>

namespace vcm {

namespace {

QPixmap transparentPixmap(QSize size)
{
  QPixmap pm(size.expandedTo(QSize(1, 1)));
  pm.fill(Qt::transparent);
  return pm;
}

void drawLabel(QPainter& p, const QRectF& box, const QString& label, const QColor& ink,
               int pixelSize)
{
  p.setFont(MainArtwork::labelFont(pixelSize));
  p.setPen(ink);
  p.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, label);
}

} // namespace

QColor MainArtwork::menuBandColor() { return QColor(0x69, 0x84, 0xC2); }

QColor MainArtwork::windowColor() { return QColor(0xF1, 0xFA, 0xFE); }

QFont MainArtwork::labelFont(int pixelSize, bool bold)
{
  QFont f(QStringLiteral("NanumGothic"));
  f.setPixelSize(qMax(pixelSize, 8));
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

void MainArtwork::drawGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink)
{
  p.save();
  const qreal s = qMin(box.width(), box.height());
  const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
  QPen pen(ink, qMax<qreal>(1.5, s / 11), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const qreal m = s * 0.18; // inner margin
  const QRectF in = r.adjusted(m, m, -m, -m);
  switch (glyph) {
  case Glyph::New: {
    QPainterPath page;
    page.moveTo(in.left(), in.top());
    page.lineTo(in.right() - s * 0.2, in.top());
    page.lineTo(in.right(), in.top() + s * 0.2);
    page.lineTo(in.right(), in.bottom());
    page.lineTo(in.left(), in.bottom());
    page.closeSubpath();
    p.drawPath(page);
    const QPointF c = in.center() + QPointF(0, s * 0.05);
    p.drawLine(c - QPointF(s * 0.14, 0), c + QPointF(s * 0.14, 0));
    p.drawLine(c - QPointF(0, s * 0.14), c + QPointF(0, s * 0.14));
    break;
  }
  case Glyph::Edit: {
    p.drawLine(QPointF(in.left() + s * 0.05, in.bottom() - s * 0.05),
               QPointF(in.right() - s * 0.05, in.top() + s * 0.05));
    p.drawLine(QPointF(in.left(), in.bottom()), QPointF(in.left() + s * 0.22, in.bottom()));
    p.drawLine(QPointF(in.right() - s * 0.2, in.top()), QPointF(in.right(), in.top() + s * 0.2));
    break;
  }
  case Glyph::Save: {
    p.drawRoundedRect(in, s * 0.06, s * 0.06);
    p.drawRect(QRectF(in.left() + in.width() * 0.25, in.top(), in.width() * 0.5, in.height() * 0.3));
    p.drawRect(QRectF(in.left() + in.width() * 0.2, in.top() + in.height() * 0.55,
                      in.width() * 0.6, in.height() * 0.45));
    break;
  }
  case Glyph::Delete: {
    p.drawLine(QPointF(in.left(), in.top() + s * 0.08), QPointF(in.right(), in.top() + s * 0.08));
    p.drawLine(QPointF(in.center().x() - s * 0.1, in.top()), QPointF(in.center().x() + s * 0.1, in.top()));
    QPainterPath bin;
    bin.moveTo(in.left() + s * 0.08, in.top() + s * 0.16);
    bin.lineTo(in.left() + s * 0.14, in.bottom());
    bin.lineTo(in.right() - s * 0.14, in.bottom());
    bin.lineTo(in.right() - s * 0.08, in.top() + s * 0.16);
    p.drawPath(bin);
    p.drawLine(QPointF(in.center().x(), in.top() + s * 0.28), QPointF(in.center().x(), in.bottom() - s * 0.1));
    break;
  }
  case Glyph::Search: {
    const QRectF lens(in.left(), in.top(), in.width() * 0.65, in.height() * 0.65);
    p.drawEllipse(lens);
    p.drawLine(lens.center() + QPointF(lens.width() * 0.36, lens.height() * 0.36), in.bottomRight());
    break;
  }
  case Glyph::Print: {
    p.drawRect(QRectF(in.left() + in.width() * 0.2, in.top(), in.width() * 0.6, in.height() * 0.3));
    p.drawRoundedRect(QRectF(in.left(), in.top() + in.height() * 0.3, in.width(), in.height() * 0.42),
                      s * 0.05, s * 0.05);
    p.drawRect(QRectF(in.left() + in.width() * 0.2, in.top() + in.height() * 0.6, in.width() * 0.6,
                      in.height() * 0.4));
    break;
  }
  case Glyph::Excel: {
    p.drawRect(in);
    for (int k = 1; k < 3; ++k) {
      const qreal y = in.top() + in.height() * k / 3;
      p.drawLine(QPointF(in.left(), y), QPointF(in.right(), y));
    }
    p.drawLine(QPointF(in.left() + in.width() * 0.35, in.top()),
               QPointF(in.left() + in.width() * 0.35, in.bottom()));
    break;
  }
  case Glyph::Stop: {
    p.drawEllipse(in);
    p.setBrush(ink);
    const qreal q = in.width() * 0.32;
    p.drawRect(QRectF(in.center().x() - q / 2, in.center().y() - q / 2, q, q));
    break;
  }
  case Glyph::Close: {
    p.drawRect(QRectF(in.left(), in.top(), in.width() * 0.6, in.height()));
    p.drawLine(QPointF(in.center().x(), in.center().y()), QPointF(in.right(), in.center().y()));
    p.drawLine(QPointF(in.right() - s * 0.12, in.center().y() - s * 0.12),
               QPointF(in.right(), in.center().y()));
    p.drawLine(QPointF(in.right() - s * 0.12, in.center().y() + s * 0.12),
               QPointF(in.right(), in.center().y()));
    break;
  }
  case Glyph::Cancel: {
    QPainterPath arrow;
    arrow.moveTo(in.left() + s * 0.1, in.top() + in.height() * 0.35);
    arrow.cubicTo(in.left() + s * 0.3, in.top() - s * 0.05, in.right() + s * 0.1,
                  in.top() + s * 0.1, in.right() - s * 0.05, in.bottom() - s * 0.05);
    p.drawPath(arrow);
    const QPointF tip(in.left() + s * 0.1, in.top() + in.height() * 0.35);
    p.drawLine(tip, tip + QPointF(0, -s * 0.22));
    p.drawLine(tip, tip + QPointF(s * 0.22, s * 0.02));
    break;
  }
  case Glyph::Ledger: {
    p.drawRoundedRect(in, s * 0.05, s * 0.05);
    p.drawLine(QPointF(in.center().x(), in.top()), QPointF(in.center().x(), in.bottom()));
    for (int k = 1; k < 4; ++k) {
      const qreal y = in.top() + in.height() * k / 4;
      p.drawLine(QPointF(in.left() + s * 0.08, y), QPointF(in.center().x() - s * 0.08, y));
      p.drawLine(QPointF(in.center().x() + s * 0.08, y), QPointF(in.right() - s * 0.08, y));
    }
    break;
  }
  case Glyph::File: {
    QPainterPath folder;
    folder.moveTo(in.left(), in.bottom());
    folder.lineTo(in.left(), in.top() + s * 0.06);
    folder.lineTo(in.left() + in.width() * 0.38, in.top() + s * 0.06);
    folder.lineTo(in.left() + in.width() * 0.48, in.top() + s * 0.18);
    folder.lineTo(in.right(), in.top() + s * 0.18);
    folder.lineTo(in.right(), in.bottom());
    folder.closeSubpath();
    p.drawPath(folder);
    const QPointF c = in.center() + QPointF(0, s * 0.12);
    p.drawLine(c + QPointF(0, s * 0.12), c - QPointF(0, s * 0.12));
    p.drawLine(c - QPointF(0, s * 0.12), c - QPointF(s * 0.1, s * 0.02));
    p.drawLine(c - QPointF(0, s * 0.12), c - QPointF(-s * 0.1, s * 0.02));
    break;
  }
  case Glyph::Business: {
    p.drawRect(QRectF(in.left() + in.width() * 0.15, in.top(), in.width() * 0.7, in.height()));
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 2; ++col)
        p.drawPoint(QPointF(in.left() + in.width() * (0.37 + col * 0.26),
                            in.top() + in.height() * (0.2 + row * 0.22)));
    p.drawLine(QPointF(in.left(), in.bottom()), QPointF(in.right(), in.bottom()));
    break;
  }
  }
  p.restore();
}

QPixmap MainArtwork::workButton(const QString& label, Glyph glyph, QSize size, bool pressed,
                                bool working)
{
  QPixmap pm = transparentPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF all(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  if (working || pressed) {
    QColor fill = working ? QColor(0xF2, 0xA9, 0x3B) : QColor(255, 255, 255, 70);
    if (working && pressed)
      fill = fill.darker(115);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(all.adjusted(2, 2, -2, -2), 6, 6);
  }
  const qreal glyphSide = size.height() * 0.46;
  const QRectF glyphBox((size.width() - glyphSide) / 2, size.height() * 0.1, glyphSide, glyphSide);
  drawGlyph(p, glyph, glyphBox, Qt::white);
  const QRectF labelBox(0, size.height() * 0.6, size.width(), size.height() * 0.34);
  drawLabel(p, labelBox, label, Qt::white, qRound(size.height() * 0.23));
  return pm;
}

QPixmap MainArtwork::gotoButton(const QString& label, Glyph glyph, QSize size)
{
  QPixmap pm = transparentPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal glyphSide = size.height() * 0.5;
  const QRectF glyphBox((size.width() - glyphSide) / 2, size.height() * 0.08, glyphSide, glyphSide);
  drawGlyph(p, glyph, glyphBox, QColor(0xFF, 0xF4, 0xD6));
  const QRectF labelBox(0, size.height() * 0.6, size.width(), size.height() * 0.36);
  drawLabel(p, labelBox, label, QColor(0xFF, 0xF4, 0xD6), qRound(size.height() * 0.26));
  return pm;
}

QPixmap MainArtwork::quickButton(const QString& label, QSize size, bool highlighted)
{
  QPixmap pm = transparentPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF tab(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  p.setPen(QPen(highlighted ? menuBandColor().darker(120) : QColor(0x9D, 0xB0, 0xD8), 1));
  p.setBrush(highlighted ? menuBandColor() : QColor(Qt::white));
  p.drawRoundedRect(tab, 5, 5);
  // The close button covers the right end; the label keeps clear of it.
  const QRectF labelBox(6, 0, size.width() * 0.74 - 6, size.height());
  p.setFont(labelFont(qRound(size.height() * 0.46), highlighted));
  p.setPen(highlighted ? QColor(Qt::white) : QColor(0x33, 0x44, 0x66));
  p.drawText(labelBox, Qt::AlignVCenter | Qt::AlignLeft, label);
  return pm;
}

QPixmap MainArtwork::quickClose(QSize size)
{
  QPixmap pm = transparentPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF c(1, 1, size.width() - 2.0, size.height() - 2.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC9, 0x5B, 0x5B));
  p.drawEllipse(c);
  p.setPen(QPen(Qt::white, qMax<qreal>(1.4, size.width() / 9.0), Qt::SolidLine, Qt::RoundCap));
  const qreal k = c.width() * 0.28;
  p.drawLine(c.center() - QPointF(k, k), c.center() + QPointF(k, k));
  p.drawLine(c.center() + QPointF(-k, k), c.center() + QPointF(k, -k));
  return pm;
}

QPixmap MainArtwork::checkPicture(QSize size, bool ticked)
{
  QPixmap pm = transparentPixmap(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF box(1, 1, size.width() - 2.0, size.height() - 2.0);
  p.setPen(QPen(QColor(0x5A, 0x6E, 0x9E), 1.2));
  p.setBrush(ticked ? QColor(0x4F, 0x89, 0xD0) : QColor(Qt::white));
  p.drawRoundedRect(box, 2.5, 2.5);
  if (ticked) {
    p.setPen(QPen(Qt::white, qMax<qreal>(1.6, size.width() / 7.0), Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
    tick.lineTo(box.left() + box.width() * 0.43, box.top() + box.height() * 0.72);
    tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.3);
    p.drawPath(tick);
  }
  return pm;
}

QPixmap MainArtwork::blank(QSize size)
{
  QPixmap pm(size.expandedTo(QSize(1, 1)));
  pm.fill(windowColor());
  return pm;
}

} // namespace vcm
