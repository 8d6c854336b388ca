#pragma once

#include "transfer/ProgressIndicator.h"

class QProgressBar;

namespace vcm {

/// A QProgressBar as a ProgressIndicator: the text is the bar's format (shown inside the
/// bar), the value its value. Unchanged writes are dropped and changes are painted with
/// the next events that run, so a transfer that updates after every 255-byte block
/// repaints only as often as the window can show it.
class ProgressBarIndicator : public ProgressIndicator {
public:
  explicit ProgressBarIndicator(QProgressBar* bar) : m_bar(bar) {}

  QString text() const override;
  void setText(const QString& text) override;
  int value() const override;
  void setValue(int value) override;

private:
  QProgressBar* m_bar;
};

} // namespace vcm
