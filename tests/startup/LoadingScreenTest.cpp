// The loading screen plays the program folder's animation in a small borderless window
// in the middle of the screen.
#include "update/LoadingScreen.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kGif = QStringLiteral(VCM_LOADING_GIF_FILE);

class LoadingScreenTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(m_dir.isValid());
    qputenv("VCM_PROGRAM_DIR", m_dir.path().toLocal8Bit());
  }
  void TearDown() override { qunsetenv("VCM_PROGRAM_DIR"); }

  void installGif()
  {
    QDir(m_dir.path()).mkpath(QStringLiteral("image"));
    ASSERT_TRUE(QFile::copy(kGif, m_dir.filePath(QStringLiteral("image/Loading.gif"))));
  }

  QTemporaryDir m_dir;
};

TEST_F(LoadingScreenTest, OurAnimationIsSmallAndMoves)
{
  QImageReader reader(kGif);
  ASSERT_TRUE(reader.supportsAnimation());
  EXPECT_GE(reader.imageCount(), 8);
  EXPECT_EQ(reader.loopCount(), -1) << "the animation must loop for ever";
  const QImage first = reader.read();
  EXPECT_LE(first.width(), 128);
  EXPECT_LE(first.height(), 128);
  QImage middle;
  for (int i = 0; i < reader.imageCount() / 2; ++i)
    middle = reader.read();
  ASSERT_FALSE(middle.isNull());
  EXPECT_NE(middle, first) << "frames must differ";
}

TEST_F(LoadingScreenTest, PlaysTheFileFromTheProgramFolderInTheMiddleOfTheScreen)
{
  installGif();
  vcm::LoadingScreen screen;
  EXPECT_EQ(screen.objectName(), QStringLiteral("메인_로딩중"));
  EXPECT_EQ(screen.picture()->objectName(), QStringLiteral("Gif89a1"));
  EXPECT_TRUE(screen.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(screen.playing());
  ASSERT_NE(screen.picture()->movie(), nullptr);
  EXPECT_EQ(screen.picture()->movie()->fileName(), m_dir.filePath(QStringLiteral("image/Loading.gif")));

  screen.show();
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint offset = screen.frameGeometry().center() - available.center();
  EXPECT_LE(offset.manhattanLength(), 2);
  EXPECT_LT(screen.width(), available.width() / 4);
}

TEST_F(LoadingScreenTest, MissingAnimationLeavesAnEmptyWindow)
{
  vcm::LoadingScreen screen;
  EXPECT_FALSE(screen.playing());
  screen.show();
  EXPECT_TRUE(screen.isVisible());
}

} // namespace
