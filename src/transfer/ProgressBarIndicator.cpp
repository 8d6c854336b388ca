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
  if (m_bar->value() == value)
    return;
  // QProgressBar paints at once on every visible change; a transfer changes the value
  // faster than a screen shows frames. With updates held during the change the bar is
  // only marked for painting, and paints with the next events that run.
  const bool enabled = m_bar->updatesEnabled();
  m_bar->setUpdatesEnabled(false);
  m_bar->setValue(value);
  m_bar->setUpdatesEnabled(enabled);
  m_bar->update();
}

} // namespace vcm
