#include "startup/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace vcm {

SingleInstance::SingleInstance(QString lockPath) : m_path(std::move(lockPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockPath()
{
  QString dir = qEnvironmentVariable("VCM_RUNTIME_DIR");
  if (dir.isEmpty())
    dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty())
    dir = QDir::tempPath();
  return QDir(dir).filePath(QStringLiteral("Vetra_Care_Member.lock"));
}

SingleInstance& SingleInstance::program()
{
  static SingleInstance instance(defaultLockPath());
  return instance;
}

bool SingleInstance::acquire()
{
  if (m_held)
    return true;
  QDir().mkpath(QFileInfo(m_path).absolutePath());
  m_lock = std::make_unique<QLockFile>(m_path);
  // Staleness by age alone would let a second program in after the first has run for a
  // while; only a lock whose process is gone counts as stale.
  m_lock->setStaleLockTime(0);
  if (m_lock->tryLock(0)) {
    m_held = true;
    return true;
  }
  return m_lock->error() != QLockFile::LockFailedError;
}

} // namespace vcm
