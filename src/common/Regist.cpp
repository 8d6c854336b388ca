#include "common/Regist.h"

#include "common/db/EucKr.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace vcm {

namespace {

constexpr qsizetype kReadBufferBytes = 1024;

/// Group of a key path inside the store: the part below the settings key ("Chk",
/// "Config"), or the whole path for any other key.
QString groupOf(const QString& keyPath)
{
  QString path = keyPath;
  if (path.startsWith(SettingsKey, Qt::CaseInsensitive))
    path = path.mid(SettingsKey.size());
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (path.endsWith(QLatin1Char('/')))
    path.chop(1);
  return path;
}

std::unique_ptr<QSettings> openStore()
{
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(settingsLocation(), QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(settingsLocation(), QSettings::IniFormat);
#endif
}

/// Byte length of the text in the Korean code page the values are kept in.
qsizetype storedByteLength(const QString& text)
{
  if (const auto bytes = euckr::encode(text))
    return bytes->size();
  return text.toUtf8().size();
}

} // namespace

QString settingsLocation()
{
#ifdef Q_OS_WIN
  const QString overridden = qEnvironmentVariable("VCM_SETTINGS_KEY");
  return QStringLiteral("HKEY_CURRENT_USER\\Software\\") +
         (overridden.isEmpty() ? QStringLiteral("VETRA_CARE_MEMBER") : overridden);
#else
  const QByteArray overridden = qgetenv("VCM_SETTINGS_FILE");
  if (!overridden.isEmpty())
    return QString::fromLocal8Bit(overridden);
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
      .filePath(QStringLiteral("VETRA_CARE_MEMBER/settings.ini"));
#endif
}

bool Reg_SaveString(RootKey, const QString& keyPath, const QString& name, QString& value)
{
  const QString group = groupOf(keyPath);
  if (group.isEmpty() || name.isEmpty())
    return false;
#ifndef Q_OS_WIN
  const QFileInfo file(settingsLocation());
  if (!QDir().mkpath(file.absolutePath()))
    return false;
#endif
  if (value.isEmpty())
    value = QStringLiteral(" ");
  auto store = openStore();
  if (!store->isWritable())
    return false;
  store->beginGroup(group);
  store->setValue(name, value);
  store->endGroup();
  store->sync();
  return store->status() == QSettings::NoError;
}

QString Reg_GetString(RootKey, const QString& keyPath, const QString& name)
{
  const QString group = groupOf(keyPath);
  if (group.isEmpty() || name.isEmpty())
    return QString();
#ifndef Q_OS_WIN
  if (!QFileInfo::exists(settingsLocation()))
    return QString();
#endif
  auto store = openStore();
  if (store->status() != QSettings::NoError)
    return QString();
  store->beginGroup(group);
  const QVariant v = store->value(name);
  store->endGroup();
  if (!v.isValid())
    return QString();
  QString text;
  switch (v.typeId()) {
  case QMetaType::QString:
  case QMetaType::QByteArray:
    text = v.toString();
    break;
  case QMetaType::Int:
  case QMetaType::UInt:
    return QString::number(v.toLongLong());
  case QMetaType::QStringList: // an INI value with commas reads as a list
    text = v.toStringList().join(QLatin1Char(','));
    break;
  default:
    return QString();
  }
  if (storedByteLength(text) > kReadBufferBytes)
    return QString();
  // Text up to the first NUL, as the fixed read buffer gives it.
  const qsizetype nul = text.indexOf(QChar(QChar::Null));
  return nul >= 0 ? text.left(nul) : text;
}

} // namespace vcm
