#pragma once

#include <QWidget>

class QLabel;
class QMovie;

namespace vcm {

/// 메인_로딩중: a small borderless window in the middle of the screen that plays
/// image/Loading.gif from the program folder while start-up contacts the server.
class LoadingScreen : public QWidget {
  Q_OBJECT
public:
  explicit LoadingScreen(QWidget* parent = nullptr);

  /// True when the animation file was found and is playing.
  bool playing() const;

  /// The picture control (objectName Gif89a1).
  QLabel* picture() const { return m_picture; }

protected:
  void showEvent(QShowEvent* event) override;

private:
  void centreOnScreen();

  QLabel* m_picture;
  QMovie* m_movie;
};

} // namespace vcm
