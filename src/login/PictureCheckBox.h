#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace vcm {

/// A check box drawn with two pictures of its own (ticked and unticked) followed by its
/// caption, as the screens' picture check boxes look. Toggles on click and Space.
class PictureCheckBox : public QAbstractButton {
  Q_OBJECT
public:
  explicit PictureCheckBox(const QString& caption, QWidget* parent = nullptr);

  /// The pictures for the ticked and the unticked state.
  void setStatePictures(const QPixmap& ticked, const QPixmap& unticked);
  QPixmap tickedPicture() const { return m_ticked; }
  QPixmap untickedPicture() const { return m_unticked; }

  /// The box's value: 1 ticked, 0 not.
  int value() const { return isChecked() ? 1 : 0; }
  void setValue(int value) { setChecked(value == 1); }

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QPixmap m_ticked;
  QPixmap m_unticked;
};

} // namespace vcm
