#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace vcm {

/// Tells whether another instance of the program runs, with a lock file in the user's
/// runtime folder. Taking the lock is atomic, so of two programs started at the same
/// moment exactly one gets it; a lock left behind by a crashed process is recognised by
/// its dead process id and taken over.
class SingleInstance {
public:
  explicit SingleInstance(QString lockPath);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  /// Takes the lock (or confirms that this object already holds it). False only when
  /// another live process holds it. A runtime folder where no lock can be created does
  /// not count as another instance: the program then starts unguarded.
  bool acquire();

  bool held() const { return m_held; }
  const QString& lockPath() const { return m_path; }

  /// The program's lock: VCM_RUNTIME_DIR, else the user's runtime folder.
  static QString defaultLockPath();

  /// The process-wide lock of the program, kept until the process ends.
  static SingleInstance& program();

private:
  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
  bool m_held = false;
};

} // namespace vcm
