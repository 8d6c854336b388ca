#pragma once

// Where class identities are recorded. On Windows these are the per-user class keys of
// the registry (HKEY_CURRENT_USER\Software\Classes); elsewhere one per-user file with the
// same layout, so both branches read and write the same keys:
//
//   <ProgID>/Default                        = class name
//   <ProgID>/CLSID/Default                  = {class identifier}
//   CLSID/{class identifier}/Default        = class name
//   CLSID/{class identifier}/InprocServer32/Default = library path
//   CLSID/{class identifier}/ProgID/Default = <ProgID>
//
// Header only: the control library writes these entries when it registers itself and
// the program reads them to find the library; neither links the other.

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QUuid>

#include <memory>

namespace vcm {

class ClassRegistry {
public:
  /// The registration file used outside Windows. VCM_CLASS_REGISTRY names another file
  /// (on Windows too, instead of the registry), so that tests keep their own.
  static QString filePath()
  {
    const QString overridden = qEnvironmentVariable("VCM_CLASS_REGISTRY");
    if (!overridden.isEmpty())
      return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/VETRA_CARE_MEMBER/classes.ini");
  }

  /// "{XXXXXXXX-...}" in upper case for any spelling of a class identifier, or an empty
  /// text when `text` is not one.
  static QString normalClassId(const QString& text)
  {
    const QUuid id = QUuid::fromString(text.trimmed());
    if (id.isNull())
      return {};
    return id.toString(QUuid::WithBraces).toUpper();
  }

  /// Records the class and the library that serves it. False when the store refused.
  static bool registerClass(const QString& progId, const QString& classId,
                            const QString& className, const QString& libraryPath)
  {
    const QString clsid = normalClassId(classId);
    if (clsid.isEmpty() || progId.isEmpty())
      return false;
    auto store = open();
    store->setValue(progId + QStringLiteral("/Default"), className);
    store->setValue(progId + QStringLiteral("/CLSID/Default"), clsid);
    const QString key = QStringLiteral("CLSID/") + clsid;
    store->setValue(key + QStringLiteral("/Default"), className);
    store->setValue(key + QStringLiteral("/InprocServer32/Default"),
                    QDir::toNativeSeparators(libraryPath));
    store->setValue(key + QStringLiteral("/InprocServer32/ThreadingModel"),
                    QStringLiteral("Apartment"));
    store->setValue(key + QStringLiteral("/ProgID/Default"), progId);
    store->sync();
    return store->status() == QSettings::NoError;
  }

  /// Removes what registerClass recorded. False when the store refused.
  static bool unregisterClass(const QString& progId, const QString& classId)
  {
    const QString clsid = normalClassId(classId);
    auto store = open();
    if (!progId.isEmpty())
      store->remove(progId);
    if (!clsid.isEmpty())
      store->remove(QStringLiteral("CLSID/") + clsid);
    store->sync();
    return store->status() == QSettings::NoError;
  }

  /// The class identifier named by `classIdOrProgId`: itself when it is one, else the
  /// one registered under that ProgID. Empty when unknown.
  static QString classIdOf(const QString& classIdOrProgId)
  {
    const QString clsid = normalClassId(classIdOrProgId);
    if (!clsid.isEmpty())
      return clsid;
    const QString progId = classIdOrProgId.trimmed();
    if (progId.isEmpty())
      return {};
    return normalClassId(open()->value(progId + QStringLiteral("/CLSID/Default")).toString());
  }

  /// The library registered for `classId`, empty when the class is not registered.
  static QString libraryPathOf(const QString& classId)
  {
    const QString clsid = normalClassId(classId);
    if (clsid.isEmpty())
      return {};
    return open()
        ->value(QStringLiteral("CLSID/") + clsid + QStringLiteral("/InprocServer32/Default"))
        .toString();
  }

private:
  static std::unique_ptr<QSettings> open()
  {
#ifdef Q_OS_WIN
    if (qEnvironmentVariableIsEmpty("VCM_CLASS_REGISTRY"))
      return std::make_unique<QSettings>(
          QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"), QSettings::NativeFormat);
#endif
    return std::make_unique<QSettings>(filePath(), QSettings::IniFormat);
  }
};

} // namespace vcm
