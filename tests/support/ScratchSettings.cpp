#include "support/ScratchSettings.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSettings>

namespace vcm::test {

#ifdef Q_OS_WIN
namespace {

void clearKey()
{
  const QString key = qEnvironmentVariable("VCM_SETTINGS_KEY");
  if (!key.isEmpty())
    QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\") + key, QSettings::NativeFormat).clear();
}

} // namespace

void useScratchSettings(const QString& file)
{
  const QByteArray name = QCryptographicHash::hash(file.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  qputenv("VCM_SETTINGS_KEY", "VCM_TEST\\" + name);
  clearKey();
}

void dropScratchSettings()
{
  clearKey();
  qunsetenv("VCM_SETTINGS_KEY");
}
#else
void useScratchSettings(const QString& file)
{
  QFile::remove(file);
  qputenv("VCM_SETTINGS_FILE", file.toLocal8Bit());
}

void dropScratchSettings()
{
  QFile::remove(qEnvironmentVariable("VCM_SETTINGS_FILE"));
  qunsetenv("VCM_SETTINGS_FILE");
}
#endif

} // namespace vcm::test
