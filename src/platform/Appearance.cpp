#include "platform/Appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace vcm {

void installAppearance()
{
  QFont font = QApplication::font();
  const QStringList families = QFontDatabase::families();
  for (const char* candidate : {"Malgun Gothic", "NanumGothic", "Noto Sans CJK KR", "Gulim"}) {
    if (families.contains(QLatin1String(candidate))) {
      font.setFamily(QLatin1String(candidate));
      break;
    }
  }
  font.setPointSize(9);
  QApplication::setFont(font);
}

} // namespace vcm
