#include "RegisteredLibrary.h"

#include "textcontrol/ControlFactory.h"

#include <QTemporaryDir>
#include <QTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace vcm::test {

namespace {

QString registryFile()
{
  static QTemporaryDir dir;
  return dir.filePath(QStringLiteral("classes.ini"));
}

} // namespace

std::unique_ptr<QSettings> openRegistry()
{
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(registryFile(), QSettings::IniFormat);
#endif
}

QString registerBuiltLibrary()
{
  static const bool registered = [] {
#ifndef Q_OS_WIN
    qputenv("VCM_CLASS_REGISTRY", registryFile().toLocal8Bit());
#endif
    return registerServer(QStringLiteral(KOLTRICH_LIBRARY_PATH)) == koltrich::S_Ok;
  }();
  EXPECT_TRUE(registered);
  return QStringLiteral(KOLTRICH_LIBRARY_PATH);
}

QTextEdit* innerBox(IKoltRich* control)
{
  return control->widget()->findChild<QTextEdit*>(QStringLiteral("txtR"));
}

} // namespace vcm::test
