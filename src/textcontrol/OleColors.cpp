#include "textcontrol/OleColors.h"

#include <QPalette>

#include <array>

namespace vcm {

namespace {

constexpr OleColor SystemFlag = 0x80000000;

// The system colour indexes the screens use, in index order, with the palette role
// that plays the same part in Qt.
constexpr std::array<QPalette::ColorRole, 25> SystemRoles = {
    QPalette::Button,          // 0 scroll bar
    QPalette::Window,          // 1 desktop
    QPalette::Highlight,       // 2 active caption
    QPalette::Mid,             // 3 inactive caption
    QPalette::Window,          // 4 menu
    QPalette::Base,            // 5 window
    QPalette::Shadow,          // 6 window frame
    QPalette::WindowText,      // 7 menu text
    QPalette::Text,            // 8 window text
    QPalette::HighlightedText, // 9 caption text
    QPalette::Mid,             // 10 active border
    QPalette::Mid,             // 11 inactive border
    QPalette::Mid,             // 12 application workspace
    QPalette::Highlight,       // 13 highlight
    QPalette::HighlightedText, // 14 highlight text
    QPalette::Button,          // 15 button face
    QPalette::Dark,            // 16 button shadow
    QPalette::PlaceholderText, // 17 grey text
    QPalette::ButtonText,      // 18 button text
    QPalette::WindowText,      // 19 inactive caption text
    QPalette::Light,           // 20 button highlight
    QPalette::Shadow,          // 21 3D dark shadow
    QPalette::Midlight,        // 22 3D light
    QPalette::ToolTipText,     // 23 tooltip text
    QPalette::ToolTipBase,     // 24 tooltip background
};

} // namespace

QColor OleColors::toColor(OleColor color, const QPalette& palette)
{
  if (color & SystemFlag) {
    const OleColor index = color & 0xFF;
    if (index < SystemRoles.size())
      return palette.color(QPalette::Active, SystemRoles[index]);
    return QColor(Qt::black);
  }
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

OleColor OleColors::fromColor(const QColor& color)
{
  const QColor rgb = color.toRgb();
  return OleColor(rgb.red()) | (OleColor(rgb.green()) << 8) | (OleColor(rgb.blue()) << 16);
}

} // namespace vcm
