#include "platform/Translations.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace vcm::translations {

QStringList searchFolders()
{
  return {paths::inProgramDir(QStringLiteral("translations")), QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString find(const QStringList& folders)
{
  for (const QString& folder : folders) {
    const QString path = QDir(folder).filePath(QLatin1String(QtBaseKorean));
    if (QFileInfo(path).isFile())
      return path;
  }
  return QString();
}

QString installKorean()
{
  QLocale::setDefault(QLocale(QLocale::Korean, QLocale::SouthKorea));
  // One translator for the whole run; a second call replaces it.
  static QPointer<QTranslator> installed;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
  }
  const QString path = find(searchFolders());
  if (path.isEmpty())
    return QString();
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(path) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return QString();
  }
  installed = translator;
  return path;
}

} // namespace vcm::translations
