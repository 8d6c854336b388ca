#include "textcontrol/Twips.h"

#include <QWidget>
#include <QtMath>

namespace vcm {

namespace {
double dpiX(const QWidget* widget) { return widget->logicalDpiX() > 0 ? widget->logicalDpiX() : 96.0; }
double dpiY(const QWidget* widget) { return widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96.0; }
} // namespace

int Twips::toPixelsX(const QWidget* widget, double twips)
{
  return qRound(twips * dpiX(widget) / PerInch);
}

int Twips::toPixelsY(const QWidget* widget, double twips)
{
  return qRound(twips * dpiY(widget) / PerInch);
}

double Twips::fromPixelsX(const QWidget* widget, double pixels)
{
  return pixels * PerInch / dpiX(widget);
}

double Twips::fromPixelsY(const QWidget* widget, double pixels)
{
  return pixels * PerInch / dpiY(widget);
}

} // namespace vcm
