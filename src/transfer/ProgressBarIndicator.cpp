#include "transfer/ProgressBarIndicator.h"

#include <QProgressBar>

namespace vcm {

QString ProgressBarIndicator::text() const
{
  return m_bar->format();
}

void ProgressBarIndicator::setText(const QString& text)
{
  if (m_bar->format() != text)
    m_bar->setFormat(text);
}

int ProgressBarIndicator::value() const
{
  return m_bar->value();
}

void ProgressBarIndicator::setValue(int value)
{
  if (m_bar->value() != value)
    m_bar->setValue(value);
}

} // namespace vcm
