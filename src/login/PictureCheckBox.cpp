#include "login/PictureCheckBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace vcm {

PictureCheckBox::PictureCheckBox(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
  setText(caption);
  setCheckable(true);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

void PictureCheckBox::setStatePictures(const QPixmap& ticked, const QPixmap& unticked)
{
  m_ticked = ticked;
  m_unticked = unticked;
  update();
}

QSize PictureCheckBox::sizeHint() const
{
  const QFontMetrics fm(font());
  return QSize(m_unticked.width() + 6 + fm.horizontalAdvance(text()),
               qMax(m_unticked.height(), fm.height()));
}

void PictureCheckBox::paintEvent(QPaintEvent*)
{
  QPainter p(this);
  const QPixmap& pic = isChecked() ? m_ticked : m_unticked;
  const QSize picSize = pic.isNull() ? QSize() : pic.deviceIndependentSize().toSize();
  const int picTop = (height() - picSize.height()) / 2;
  if (!pic.isNull())
    p.drawPixmap(QPoint(0, picTop), pic);
  const QRect textRect(picSize.width() + 6, 0, width() - picSize.width() - 6, height());
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text());
  if (hasFocus()) {
    QStyleOptionFocusRect opt;
    opt.initFrom(this);
    opt.rect = p.fontMetrics().boundingRect(textRect, Qt::AlignVCenter | Qt::AlignLeft, text()).adjusted(-2, -1, 2, 1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
  }
}

} // namespace vcm
