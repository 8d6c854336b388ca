// The FTP routines against the test FTP server.
#include "platform/ScriptedUi.h"
#include "support/TestBackend.h"
#include "transfer/RecordingIndicator.h"
#include "transfer/FtpRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vcm {
namespace {

using test::RecordingIndicator;

class FtpRoutinesTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    be = &test::Backend::shared();
    if (!be->available())
      GTEST_SKIP() << be->unavailableReason().toStdString();
    ASSERT_TRUE(m_local.isValid());
    be->resetFtp();
    m_remoteDir = QStringLiteral("/ftp-test-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(serverPath(QString())));
    ASSERT_TRUE(open());
    ASSERT_TRUE(g_FTPSetDir(m_remoteDir));
  }

  void TearDown() override
  {
    g_FtpClose();
    if (be && be->available()) {
      be->resetFtp();
      QDir(serverPath(QString())).removeRecursively();
    }
  }

  bool open(const QString& password = {})
  {
    return g_FtpOpen(QStringLiteral("127.0.0.1"), QString::number(be->ftpPort()), be->ftpUser(),
                     password.isNull() ? be->ftpPassword() : password);
  }

  /// Where a file of the test folder lies on the server's disk.
  QString serverPath(const QString& name) const
  {
    return be->ftpRoot() + m_remoteDir + QLatin1Char('/') + name;
  }

  QString localFile(const QString& name, const QByteArray& bytes) const
  {
    const QString path = m_local.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  static QByteArray randomBytes(qsizetype size)
  {
    QByteArray bytes(size, Qt::Uninitialized);
    for (auto& b : bytes)
      b = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
  }

  static QByteArray read(const QString& path)
  {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }

  test::Backend* be = nullptr;
  ScopedScriptedUi ui;
  QTemporaryDir m_local;
  QString m_remoteDir;
};

TEST_F(FtpRoutinesTest, EmptyPathOrNameFailsWithoutContactingTheServer)
{
  const QString file = localFile(QStringLiteral("a.bin"), "abc");
  RecordingIndicator bar;
  const auto before = be->ftpCommands().size();
  EXPECT_FALSE(g_FTPUpload(QString(), QStringLiteral("x"), bar, QStringLiteral("완료")));
  EXPECT_FALSE(g_FTPUpload(file, QString(), bar, QStringLiteral("완료")));
  EXPECT_FALSE(g_FtpDownload(QString(), QStringLiteral("x"), 3, bar));
  EXPECT_FALSE(g_FtpDownload(file, QString(), 3, bar));
  EXPECT_EQ(be->ftpCommands().size(), before);
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_TRUE(bar.steps.isEmpty());
}

TEST_F(FtpRoutinesTest, UploadShowsThePercentageAfterEachFullBlockOnly)
{
  using Step = RecordingIndicator::Step;
  const struct {
    qsizetype size;
    QList<Step> steps;
  } cases[] = {
      {100, {}},                                            // tail only
      {510, {{"50%", 50}, {"100%", 100}}},                  // two blocks
      {765, {{"33%", 33}, {"66%", 66}, {"100%", 100}}},     // full blocks, no tail
      {600, {{"42%", 42}, {"85%", 85}}},                    // the tail leaves 85%
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const QByteArray bytes = randomBytes(c.size);
    const QString name = QStringLiteral("up_%1").arg(c.size);
    RecordingIndicator bar;
    ui->pumps = 0;
    ASSERT_TRUE(g_FTPUpload(localFile(name, bytes), name, bar, QStringLiteral("완료")));
    EXPECT_EQ(bar.steps, c.steps);
    EXPECT_EQ(ui->pumps, 2 * (c.size / 255));
    EXPECT_EQ(read(serverPath(name)), bytes);
  }
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(FtpRoutinesTest, BytesSurviveTheRoundTrip)
{
  for (const qsizetype size : {0, 1, 254, 255, 256, 5 * 1024 * 1024}) {
    SCOPED_TRACE(size);
    const QByteArray bytes = randomBytes(size);
    const QString name = QStringLiteral("rt_%1").arg(size);
    RecordingIndicator bar;
    ASSERT_TRUE(g_FTPUpload(localFile(name, bytes), name, bar, QStringLiteral("완료")));
    EXPECT_EQ(read(serverPath(name)), bytes);
    const QString back = m_local.filePath(name + QStringLiteral(".back"));
    ASSERT_TRUE(g_FtpDownload(back, name, static_cast<qint32>(size), bar));
    EXPECT_EQ(read(back), bytes);
    EXPECT_EQ(bar.writes.mid(bar.writes.size() - 2),
              (QStringList{QStringLiteral("value:100"), QStringLiteral("text:다운로드 완료")}));
  }
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(FtpRoutinesTest, DownloadCountsFromOneAndReadsExactlyTheExpectedSize)
{
  const QByteArray bytes = randomBytes(1000);
  QFile::copy(localFile(QStringLiteral("big"), bytes), serverPath(QStringLiteral("big")));
  RecordingIndicator bar;
  const QString target = m_local.filePath(QStringLiteral("part"));
  ui->pumps = 0;
  ASSERT_TRUE(g_FtpDownload(target, QStringLiteral("big"), 510, bar));
  EXPECT_EQ(read(target), bytes.left(510));
  EXPECT_EQ(ui->pumps, 2 + 2 + 3 * 2 + 1);  // before, after the local open, per block, at the end
  // The value reaches 100 before the closing text is written.
  EXPECT_EQ(bar.writes, (QStringList{QStringLiteral("value:50"), QStringLiteral("value:100"),
                                     QStringLiteral("value:100"), QStringLiteral("text:다운로드 완료")}));
  // A remote file shorter than promised is a failed download, not a padded file.
  EXPECT_FALSE(g_FtpDownload(target, QStringLiteral("big"), 1200, bar));
  EXPECT_TRUE(ui->messages.isEmpty());
  // The session goes on after a transfer that stopped early.
  EXPECT_TRUE(g_FtpDownload(target, QStringLiteral("big"), 1000, bar));
}

TEST_F(FtpRoutinesTest, MissingRemoteFileShowsItsMessageAndLeavesTheLocalFile)
{
  const QString target = localFile(QStringLiteral("keep"), "old");
  RecordingIndicator bar;
  EXPECT_FALSE(g_FtpDownload(target, QStringLiteral("nothing-here"), 10, bar));
  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("파일이 존재하지 않습니다. 연락주시기 바랍니다."));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(read(target), QByteArray("old"));
}

TEST_F(FtpRoutinesTest, SetDirCreatesOneLevelOnly)
{
  EXPECT_TRUE(g_FTPSetDir(m_remoteDir + QStringLiteral("/sub")));
  EXPECT_TRUE(QFileInfo(serverPath(QStringLiteral("sub"))).isDir());
  EXPECT_TRUE(g_FTPSetDir(m_remoteDir + QStringLiteral("/sub")));  // already there
  EXPECT_FALSE(g_FTPSetDir(m_remoteDir + QStringLiteral("/no/parent")));
  EXPECT_FALSE(QFileInfo::exists(serverPath(QStringLiteral("no"))));
  // The current directory stays where the last successful call put it.
  RecordingIndicator bar;
  ASSERT_TRUE(g_FTPUpload(localFile(QStringLiteral("s"), "s"), QStringLiteral("in-sub"), bar));
  EXPECT_TRUE(QFileInfo::exists(serverPath(QStringLiteral("sub/in-sub"))));
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(FtpRoutinesTest, OneLoginCarriesEveryTransferOfTheSession)
{
  be->clearFtpLog();
  RecordingIndicator bar;
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(g_FTPUpload(localFile(QStringLiteral("m"), randomBytes(300)),
                            QStringLiteral("many_%1").arg(i), bar));
  int logins = 0, stores = 0;
  for (const auto& c : be->ftpCommands()) {
    logins += c.command == QLatin1String("PASS");
    stores += c.command == QLatin1String("STOR");
  }
  EXPECT_EQ(logins, 0);
  EXPECT_EQ(stores, 3);
}

TEST_F(FtpRoutinesTest, CloseTwiceAndARefusedLoginStaySilent)
{
  g_FtpClose();
  g_FtpClose();
  RecordingIndicator bar;
  EXPECT_FALSE(g_FTPUpload(localFile(QStringLiteral("c"), "c"), QStringLiteral("closed"), bar));
  EXPECT_FALSE(g_FTPSetDir(m_remoteDir));
  EXPECT_FALSE(open(QStringLiteral("wrong")));
  EXPECT_TRUE(ui->messages.isEmpty());
  EXPECT_TRUE(open());  // and the next open works again
}

TEST_F(FtpRoutinesTest, DroppedConnectionFailsTheUpload)
{
  const QByteArray bytes = randomBytes(4000);
  const QString file = localFile(QStringLiteral("drop"), bytes);
  RecordingIndicator bar;
  be->setFtp({1000});
  EXPECT_FALSE(g_FTPUpload(file, QStringLiteral("dropped"), bar));
  EXPECT_EQ(read(serverPath(QStringLiteral("dropped"))).size(), 1000);
  EXPECT_TRUE(ui->messages.isEmpty());
}

TEST_F(FtpRoutinesTest, UnreadableLocalFileShowsTheRoutineNoticeAndSendsNothing)
{
  RecordingIndicator bar;
  be->clearFtpLog();
  EXPECT_FALSE(g_FTPUpload(m_local.filePath(QStringLiteral("absent")), QStringLiteral("absent"), bar));
  EXPECT_EQ(ui->texts(), QStringList{QStringLiteral("오류발생(g_FTPUpload)")});
  EXPECT_FALSE(QFileInfo::exists(serverPath(QStringLiteral("absent"))));
  EXPECT_EQ(g_FtpOpen(QStringLiteral("127.0.0.1"), QStringLiteral("x21"), be->ftpUser(),
                      be->ftpPassword()),
            false);
  EXPECT_EQ(ui->texts().last(), QStringLiteral("오류발생(g_FtpOpen)"));
}

} // namespace
} // namespace vcm
