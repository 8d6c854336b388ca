// Two real processes compete for the program's lock; a crashed holder must not block.
#include "RecordingScreens.h"

#include "common/Session.h"
#include "platform/ScriptedUi.h"
#include "startup/Main.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kProbe = QStringLiteral(VCM_INSTANCE_PROBE);
const QString kAlreadyRunningLine =
    QStringLiteral("[베트라Care]는 이미 실행중입니다.|작업안내|%1").arg(int(vcm::Icon::Exclamation));

class SingleInstanceTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(m_dir.isValid());
    m_runtime = m_dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(m_runtime);
    m_go = m_dir.filePath(QStringLiteral("go"));
    m_release = m_dir.filePath(QStringLiteral("release"));
  }

  std::unique_ptr<QProcess> startProbe(const QStringList& args)
  {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VCM_RUNTIME_DIR"), m_runtime);
    p->setProcessEnvironment(env);
    p->start(kProbe, args);
    EXPECT_TRUE(p->waitForStarted(5000));
    return p;
  }

  static void touch(const QString& path)
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }

  /// The probe's lines; Windows' text-mode output ends them with CR LF.
  static QString output(QProcess& p)
  {
    return QString::fromUtf8(p.readAllStandardOutput()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
  }

  QString lockFile() const { return QDir(m_runtime).filePath(QStringLiteral("Vetra_Care_Member.lock")); }

  QTemporaryDir m_dir;
  QString m_runtime, m_go, m_release;
};

TEST_F(SingleInstanceTest, OfTwoStartedAtOnceExactlyOneProceeds)
{
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    QFile::remove(m_go);
    QFile::remove(m_release);
    auto a = startProbe({QStringLiteral("hold"), m_go, m_release});
    auto b = startProbe({QStringLiteral("hold"), m_go, m_release});
    touch(m_go);

    // The refused one ends on its own; the other keeps the lock until released.
    QProcess* refused = nullptr;
    QDeadlineTimer deadline(15000);
    while (!refused && !deadline.hasExpired()) {
      if (a->waitForFinished(20))
        refused = a.get();
      else if (b->state() == QProcess::NotRunning || b->waitForFinished(20))
        refused = b.get();
    }
    ASSERT_NE(refused, nullptr) << "neither process was refused";
    QProcess* holder = refused == a.get() ? b.get() : a.get();
    EXPECT_EQ(refused->exitCode(), 3);
    EXPECT_EQ(output(*refused), kAlreadyRunningLine + QStringLiteral("\nended"));
    EXPECT_EQ(holder->state(), QProcess::Running);

    touch(m_release);
    ASSERT_TRUE(holder->waitForFinished(15000));
    EXPECT_EQ(holder->exitCode(), 0);
    EXPECT_EQ(output(*holder), QStringLiteral("proceeds"));
  }
}

TEST_F(SingleInstanceTest, LockOfACrashedProcessDoesNotBlockTheNextStart)
{
  touch(m_go);
  auto crashed = startProbe({QStringLiteral("crash"), m_go});
  ASSERT_TRUE(crashed->waitForFinished(15000));
  ASSERT_EQ(crashed->exitCode(), 9);
  ASSERT_TRUE(QFileInfo::exists(lockFile())) << "the crash left no lock behind";

  touch(m_release);
  auto next = startProbe({QStringLiteral("hold"), m_go, m_release});
  ASSERT_TRUE(next->waitForFinished(15000));
  EXPECT_EQ(output(*next), QStringLiteral("proceeds"));
  EXPECT_EQ(next->exitCode(), 0);
}

TEST_F(SingleInstanceTest, SecondStartEndsBeforeAnythingElse)
{
  auto holder = startProbe({QStringLiteral("hold"), m_go, m_release});
  touch(m_go);
  QDeadlineTimer deadline(15000);
  while (!QFileInfo::exists(lockFile()) && !deadline.hasExpired())
    QThread::msleep(10);
  ASSERT_TRUE(QFileInfo::exists(lockFile()));

  // This process is the second instance: the lock path is taken from the environment
  // on first use, which is here.
  QTemporaryDir programDir;
  qputenv("VCM_RUNTIME_DIR", m_runtime.toLocal8Bit());
  qputenv("VCM_PROGRAM_DIR", programDir.path().toLocal8Bit());
  qputenv("VETRA_CARE_DEPLOY", m_dir.filePath(QStringLiteral("absent.ini")).toLocal8Bit());
  vcm::Session.reset();
  vcm::ScopedScriptedUi ui;
  vcm::test::RecordingScreens screens;
  EXPECT_THROW(vcm::Main(screens), vcm::ProcessEnded);

  ASSERT_EQ(ui->messages.size(), 1);
  EXPECT_EQ(ui->messages[0].text, QStringLiteral("[베트라Care]는 이미 실행중입니다."));
  EXPECT_EQ(ui->messages[0].title, QStringLiteral("작업안내"));
  EXPECT_EQ(ui->messages[0].icon, vcm::Icon::Exclamation);
  EXPECT_TRUE(screens.calls.isEmpty());
  EXPECT_TRUE(vcm::Session.ServerAddress.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(programDir.filePath(QStringLiteral("ErrTxt"))));

  touch(m_release);
  ASSERT_TRUE(holder->waitForFinished(15000));
  EXPECT_EQ(holder->exitCode(), 0);
}

} // namespace
