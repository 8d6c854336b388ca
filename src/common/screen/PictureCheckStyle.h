#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace vcm {

/// Draws a check box's indicator with two pictures instead of the platform's box.
class PictureCheckStyle : public QProxyStyle {
  Q_OBJECT
public:
  PictureCheckStyle(const QPixmap& checked, const QPixmap& unchecked);

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;

private:
  QPixmap m_checked;
  QPixmap m_unchecked;
};

} // namespace vcm
