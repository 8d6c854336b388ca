#pragma once

#include <QTimer>
#include <QWidget>

namespace vcm {

/// The small animation shown while the ledger is in the work state: a pencil mark and a
/// running row of dots beside "수정 작업중". It animates only while visible.
class WorkIndicator : public QWidget {
  Q_OBJECT
public:
  explicit WorkIndicator(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {150, 28}; }

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

private:
  QTimer m_timer;
  int m_frame = 0;
};

} // namespace vcm
