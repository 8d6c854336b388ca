#include "update/LoadingScreen.h"

#include "platform/Paths.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QVBoxLayout>

namespace vcm {

LoadingScreen::LoadingScreen(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_picture(new QLabel(this)),
      m_movie(new QMovie(paths::inProgramDir(QStringLiteral("image/Loading.gif")), QByteArray(), this))
{
  setObjectName(QStringLiteral("메인_로딩중"));
  setWindowTitle(QStringLiteral("메인_로딩중"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);

  m_picture->setObjectName(QStringLiteral("Gif89a1"));
  m_picture->setAlignment(Qt::AlignCenter);
  m_picture->setMovie(m_movie);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(m_picture);

  if (m_movie->isValid()) {
    m_movie->jumpToFrame(0);
    m_picture->setFixedSize(m_movie->currentPixmap().size());
    m_movie->start();
  } else {
    m_picture->setFixedSize(72, 72);
  }
  adjustSize();
}

bool LoadingScreen::playing() const { return m_movie->state() == QMovie::Running; }

void LoadingScreen::showEvent(QShowEvent* event)
{
  QWidget::showEvent(event);
  centreOnScreen();
}

void LoadingScreen::centreOnScreen()
{
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

} // namespace vcm
