#include "RegisteredLibrary.h"

#include "textcontrol/ControlFactory.h"

#include <QTemporaryDir>
#include <QTextEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace vcm::test {

QString registryFile()
{
  static QTemporaryDir dir;
  return dir.filePath(QStringLiteral("classes.ini"));
}

QString registerBuiltLibrary()
{
  static const bool registered = [] {
    qputenv("VCM_CLASS_REGISTRY", registryFile().toLocal8Bit());
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
