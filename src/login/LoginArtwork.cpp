#include "login/LoginArtwork.h"

#include "mainwindow/MainArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vcm {

namespace {

/// The emblem: a roof over a heart, drawn in `box`.
void drawEmblem(QPainter& p, const QRectF& box)
{
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = qMin(box.width(), box.height());
  const QPointF c = box.center();
  p.setPen(QPen(Qt::white, s * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPainterPath roof;
  roof.moveTo(c + QPointF(-s * 0.45, -s * 0.02));
  roof.lineTo(c + QPointF(0, -s * 0.42));
  roof.lineTo(c + QPointF(s * 0.45, -s * 0.02));
  p.drawPath(roof);
  QPainterPath heart;
  const QPointF h = c + QPointF(0, s * 0.08);
  heart.moveTo(h + QPointF(0, s * 0.3));
  heart.cubicTo(h + QPointF(-s * 0.42, s * 0.02), h + QPointF(-s * 0.2, -s * 0.28), h);
  heart.cubicTo(h + QPointF(s * 0.2, -s * 0.28), h + QPointF(s * 0.42, s * 0.02), h + QPointF(0, s * 0.3));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0xC8, 0x7A));
  p.drawPath(heart);
  p.restore();
}

} // namespace

QPixmap LoginArtwork::background(QSize size, const QRect& idLabel, const QRect& pwLabel)
{
  QPixmap pm(size);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const int w = size.width();
  const int h = size.height();

  // Page: a light, cool tone; a header band in the main window's blue.
  p.fillRect(QRect(0, 0, w, h), QColor(0xF4, 0xF8, 0xFC));
  const int headerHeight = qRound(h * 0.32);
  QLinearGradient header(0, 0, w, headerHeight);
  header.setColorAt(0, QColor(0x4E, 0x6C, 0xB4));
  header.setColorAt(1, QColor(0x6F, 0x9B, 0xD1));
  p.fillRect(QRect(0, 0, w, headerHeight), header);
  p.setPen(QPen(QColor(0xFF, 0xC8, 0x7A), 2));
  p.drawLine(0, headerHeight, w, headerHeight);

  const qreal emblemSide = headerHeight * 0.52;
  drawEmblem(p, QRectF(w * 0.07, headerHeight * 0.2, emblemSide, emblemSide));

  const qreal textLeft = w * 0.07 + emblemSide + w * 0.04;
  p.setPen(Qt::white);
  p.setFont(MainArtwork::labelFont(qRound(headerHeight * 0.2)));
  p.drawText(QRectF(textLeft, headerHeight * 0.14, w - textLeft - 8, headerHeight * 0.3),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("베트라케어"));
  p.setFont(MainArtwork::labelFont(qRound(headerHeight * 0.105), false));
  p.drawText(QRectF(textLeft, headerHeight * 0.44, w - textLeft - 8, headerHeight * 0.2),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("장기요양기관 회계관리"));
  p.setPen(QColor(0xEA, 0xF1, 0xFB));
  p.drawText(QRectF(w * 0.07, headerHeight * 0.74, w * 0.86, headerHeight * 0.2),
             Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("오늘도 편안한 하루 되세요."));

  // Field labels.
  p.setPen(QColor(0x3A, 0x4E, 0x7A));
  p.setFont(MainArtwork::labelFont(qRound(h * 0.042)));
  p.drawText(idLabel, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("ID"));
  p.drawText(pwLabel, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("PW"));

  // Footer hint.
  p.setPen(QColor(0x7A, 0x88, 0xA6));
  p.setFont(MainArtwork::labelFont(qRound(h * 0.032), false));
  p.drawText(QRectF(0, h * 0.83, w, h * 0.08), Qt::AlignHCenter | Qt::AlignVCenter,
             QStringLiteral("발급받은 회원 아이디와 비밀번호를 입력해 주세요."));
  return pm;
}

QPixmap LoginArtwork::loginButton(QSize size, bool pressed)
{
  QPixmap pm(size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(1, 1, size.width() - 2.0, size.height() - 2.0);
  QLinearGradient fill(0, 0, 0, size.height());
  fill.setColorAt(0, pressed ? QColor(0x3F, 0x5C, 0xA0) : QColor(0x5B, 0x7F, 0xC8));
  fill.setColorAt(1, pressed ? QColor(0x33, 0x4C, 0x88) : QColor(0x45, 0x66, 0xAE));
  p.setPen(QPen(QColor(0x34, 0x4D, 0x8A), 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, 7, 7);

  // A key above the word.
  const qreal s = size.width() * 0.42;
  const QPointF c(size.width() / 2.0, size.height() * 0.36);
  p.setPen(QPen(QColor(0xFF, 0xD9, 0x9A), qMax<qreal>(2.0, s / 9), Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(c.x() - s / 2, c.y() - s / 2, s * 0.5, s * 0.5));
  p.drawLine(c + QPointF(-s * 0.05, -s * 0.05), c + QPointF(s * 0.45, s * 0.45));
  p.drawLine(c + QPointF(s * 0.25, s * 0.25), c + QPointF(s * 0.12, s * 0.38));
  p.drawLine(c + QPointF(s * 0.38, s * 0.38), c + QPointF(s * 0.25, s * 0.51));

  p.setPen(Qt::white);
  p.setFont(MainArtwork::labelFont(qRound(size.height() * 0.17)));
  p.drawText(QRectF(0, size.height() * 0.62, size.width(), size.height() * 0.28),
             Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("LOGIN"));
  return pm;
}

QPixmap LoginArtwork::checkPicture(QSize size, bool ticked)
{
  return MainArtwork::checkPicture(size, ticked);
}

} // namespace vcm
