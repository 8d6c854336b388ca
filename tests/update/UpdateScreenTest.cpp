// The update download screen against the real HTTP and FTP peers. The end of the
// program and the start of the installer are observed through the UI services.
#include "update/UpdateScreen.h"

#include "common/Session.h"
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "update/UpdateTestSupport.h"
#include "transfer/FtpRoutines.h"
#include <QProgressBar>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace vcm {
namespace {

using test::fileBytes;

class UpdateScreenTest : public test::HttpPeerTest {
protected:
  void SetUp() override
  {
    HttpPeerTest::SetUp();
    if (setUpStopped())
      return;
    qputenv("VCM_PROGRAM_DIR", m_dir.path().toLocal8Bit());
    Session.reset();
    Session.ServerAddress = QStringLiteral("127.0.0.1");
    Session.HttpPort = be->httpPort();
    Session.FtpPort = be->ftpPort();
    Session.FtpUser = be->ftpUser();
    Session.DbPassword = be->ftpPassword();
    Session.UpdateFileSize = be->number(QStringLiteral("INSTALLER_SIZE"));
  }

  void TearDown() override
  {
    g_FtpClose();
    HttpPeerTest::TearDown();
    qunsetenv("VCM_PROGRAM_DIR");
  }

  /// Runs the update on a fresh screen; the run always ends the program.
  void run()
  {
    UpdateScreen screen;
    screen.show();
    ui->onPump = [&] { values << screen.xBar()->value(); };
    EXPECT_THROW(screen.Form_Activate(), ProcessEnded);
    barText = screen.xBar()->format();
  }

  ScopedScriptedUi ui;
  QList<int> values;
  QString barText;
};

TEST_F(UpdateScreenTest, WebServerWithALengthGivesTheInstallerOverHttp)
{
  const struct {
    int status;
    QByteArray body;  // empty: nothing is started and nothing is left
  } cases[] = {
      {0, m_installer},
      // Not a success, but it announces a length: what arrives is not the published
      // installer (its size differs) and is never started.
      {500, {}},
  };
  for (const auto& c : cases) {
    test::HttpBehaviour behaviour;
    behaviour.status = c.status;
    be->setHttp(behaviour);
    ui->clear();
    ui->startedPrograms.clear();
    values.clear();
    run();
    EXPECT_EQ(fileBytes(UpdateScreen::localFile()), c.body) << c.status;
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.last(), 100);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    if (c.body.isEmpty()) {
      EXPECT_TRUE(ui->startedPrograms.isEmpty());
      EXPECT_EQ(ui->texts(), QStringList{UpdateScreen::DownloadFailedText});
      continue;
    }
    EXPECT_GT(values.count(50), 0);  // the bar moves through the download
    EXPECT_EQ(ui->startedPrograms, QStringList{UpdateScreen::localFile()}) << c.status;
    EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join('\n').toStdString();
  }
}

TEST_F(UpdateScreenTest, MissingOnTheWebServerComesOverFtp)
{
  test::HttpBehaviour missing;
  missing.status = 404;
  be->setHttp(missing);
  run();
  EXPECT_EQ(fileBytes(UpdateScreen::localFile()), m_installer);
  EXPECT_EQ(ui->startedPrograms, QStringList{UpdateScreen::localFile()});
  EXPECT_EQ(barText, QStringLiteral("다운로드 완료"));
  EXPECT_TRUE(ui->messages.isEmpty()) << ui->texts().join('\n').toStdString();
}

TEST_F(UpdateScreenTest, FailuresEndWithOneMessageAndNoInstaller)
{
  const struct {
    const char* what;
    std::function<void()> arrange;
  } cases[] = {
      {"neither server reachable", [&] {
         Session.HttpPort = 1;  // nothing listens on port 1 of the loopback
         Session.FtpPort = 1;
       }},
      {"web download cut midway", [&] {
         test::HttpBehaviour cut;
         cut.dropAfter = 200000;
         be->setHttp(cut);
       }},
      {"ftp file shorter than published", [&] {
         test::HttpBehaviour missing;
         missing.status = 404;
         be->setHttp(missing);
         Session.UpdateFileSize += 1000;
       }},
  };
  for (const auto& c : cases) {
    SetUp();
    c.arrange();
    ui->clear();
    ui->startedPrograms.clear();
    run();
    EXPECT_TRUE(ui->startedPrograms.isEmpty()) << c.what;
    EXPECT_EQ(ui->texts(), QStringList{UpdateScreen::DownloadFailedText}) << c.what;
    EXPECT_FALSE(QFile::exists(UpdateScreen::localFile())) << c.what;
    TearDown();
  }
}

TEST_F(UpdateScreenTest, InstallerTheSystemCannotStartIsReported)
{
  ui->programsStart = false;
  run();
  EXPECT_EQ(ui->texts(), QStringList{UpdateScreen::StartFailedText});
}

TEST_F(UpdateScreenTest, ClosingEndsTheProgramAtAnyTime)
{
  UpdateScreen screen;
  screen.show();
  EXPECT_THROW(QTest::keyClick(&screen, Qt::Key_Escape), ProcessEnded);

  test::HttpBehaviour slow;
  slow.bytesPerSecond = 400000;
  be->setHttp(slow);
  UpdateScreen running;
  running.show();
  ui->onPump = [&] {
    if (running.xBar()->value() > 0)
      running.close();
  };
  EXPECT_THROW(running.Form_Activate(), ProcessEnded);
  EXPECT_TRUE(ui->startedPrograms.isEmpty());
  EXPECT_LT(QFileInfo(UpdateScreen::localFile()).size(), m_installer.size());
}

} // namespace
} // namespace vcm
