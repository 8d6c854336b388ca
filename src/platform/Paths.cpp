#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace vcm::paths {

QString programDir()
{
  const QByteArray overridden = qgetenv("VCM_PROGRAM_DIR");
  if (!overridden.isEmpty())
    return QString::fromLocal8Bit(overridden);
  if (QCoreApplication::instance())
    return QCoreApplication::applicationDirPath();
  return QDir::currentPath();
}

QString inProgramDir(const QString& relative)
{
  return QDir(programDir()).filePath(relative);
}

} // namespace vcm::paths
