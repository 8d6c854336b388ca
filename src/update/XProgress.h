#pragma once

#include "transfer/ProgressIndicator.h"

#include <QProgressBar>

namespace vcm {

/// The progress bar of the transfer screens: a bar from 0 to 100 with an optional text
/// in the middle (none until a routine sets one). The FTP routines drive it through
/// ProgressIndicator.
class XProgress : public QProgressBar, public ProgressIndicator {
  Q_OBJECT
public:
  explicit XProgress(QWidget* parent = nullptr);

  QString text() const override { return m_text; }
  void setText(const QString& text) override;
  int value() const override { return QProgressBar::value(); }
  void setValue(int value) override { QProgressBar::setValue(value); }

private:
  QString m_text;
};

} // namespace vcm
