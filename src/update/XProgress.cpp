#include "update/XProgress.h"

namespace vcm {

XProgress::XProgress(QWidget* parent) : QProgressBar(parent)
{
  setRange(0, 100);
  setValue(0);
  setAlignment(Qt::AlignCenter);
  setFormat(QString());
}

void XProgress::setText(const QString& text)
{
  m_text = text;
  // The text is shown as it is, not as a pattern with %p.
  QString shown = text;
  setFormat(shown.replace(QLatin1Char('%'), QStringLiteral("%%")));
}

} // namespace vcm
