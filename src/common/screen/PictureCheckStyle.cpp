#include "common/screen/PictureCheckStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace vcm {

PictureCheckStyle::PictureCheckStyle(const QPixmap& checked, const QPixmap& unchecked)
  : m_checked(checked), m_unchecked(unchecked)
{
}

void PictureCheckStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                      QPainter* painter, const QWidget* widget) const
{
  if (element == PE_IndicatorCheckBox && option) {
    // Pressed and released states share a picture: only checked or not is shown.
    const QPixmap& pm = (option->state & State_On) ? m_checked : m_unchecked;
    if (!pm.isNull()) {
      const QSize size = pm.deviceIndependentSize().toSize();
      QRect target(QPoint(0, 0), size);
      target.moveCenter(option->rect.center());
      if (!(option->state & State_Enabled))
        painter->setOpacity(0.5);
      painter->drawPixmap(target, pm);
      painter->setOpacity(1.0);
      return;
    }
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int PictureCheckStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                   const QWidget* widget) const
{
  if (metric == PM_IndicatorWidth && !m_checked.isNull())
    return m_checked.deviceIndependentSize().toSize().width();
  if (metric == PM_IndicatorHeight && !m_checked.isNull())
    return m_checked.deviceIndependentSize().toSize().height();
  return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace vcm
