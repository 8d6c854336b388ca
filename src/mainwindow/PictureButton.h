#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

namespace vcm {

/// A button that is only its picture: the main window's go-to, work and quick buttons.
/// It shows `picture()` normally and `secondPicture()` (when set) while pressed; a
/// disabled button shows its picture faded. Carries a free text `tag()` that screens
/// use as a marker (the work buttons' pending-work mark "WORK", the quick buttons'
/// screen code and form name).
class PictureButton : public QAbstractButton {
  Q_OBJECT
public:
  explicit PictureButton(QWidget* parent = nullptr);

  QPixmap picture() const { return m_picture; }
  void setPicture(const QPixmap& picture);

  QPixmap secondPicture() const { return m_secondPicture; }
  void setSecondPicture(const QPixmap& picture);

  /// Both pictures at once, as screens switch a button's look.
  void setPictures(const QPixmap& picture, const QPixmap& secondPicture);

  QString tag() const { return m_tag; }
  void setTag(const QString& tag) { m_tag = tag; }

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  QPixmap m_picture;
  QPixmap m_secondPicture;
  QString m_tag;
  bool m_hovered = false;
};

} // namespace vcm
