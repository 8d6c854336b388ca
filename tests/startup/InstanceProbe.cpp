// A tiny program for the single-instance tests: waits until the file GO exists, then
// asks for the program's lock the way start-up does.
//   vcm_instance_probe hold GO RELEASE   proceeds, keeps the lock until RELEASE exists
//   vcm_instance_probe crash GO          proceeds, then dies without releasing the lock
// Prints "proceeds", or each message shown followed by "ended"; exit code 0, 3 (ended)
// or 9 (crashed).
#include "platform/ScriptedUi.h"
#include "startup/Main.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <cstdio>
#include <cstdlib>

namespace {

bool waitForFile(const QString& path, int ms)
{
  QDeadlineTimer deadline(ms);
  while (!QFileInfo::exists(path)) {
    if (deadline.hasExpired())
      return false;
    QThread::usleep(200);
  }
  return true;
}

} // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  if (argc < 3)
    return 2;
  const QString mode = QString::fromLocal8Bit(argv[1]);
  if (!waitForFile(QString::fromLocal8Bit(argv[2]), 20000))
    return 2;

  vcm::ScopedScriptedUi ui;
  try {
    vcm::startup::refuseSecondInstance();
  } catch (const vcm::ProcessEnded&) {
    for (const auto& m : ui->messages)
      // UTF-8 whatever the system's code page: the test reads it back as such.
      std::printf("%s|%s|%d\n", m.text.toUtf8().constData(), m.title.toUtf8().constData(),
                  static_cast<int>(m.icon));
    std::printf("ended\n");
    return 3;
  }
  std::printf("proceeds\n");
  std::fflush(stdout);
  if (mode == QLatin1String("crash"))
    std::_Exit(9);
  return argc > 3 && waitForFile(QString::fromLocal8Bit(argv[3]), 20000) ? 0 : 2;
}
