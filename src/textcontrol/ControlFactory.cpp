#include "textcontrol/ControlFactory.h"

#include "platform/Ui.h"
#include "textcontrol/ClassRegistry.h"
#include "textcontrol/ComponentLibrary.h"

#include <QDir>

namespace vcm {

namespace {

const QString ReinstallAdvice = QStringLiteral("\n\n프로그램을 다시 설치해 주십시오.");

IKoltRich* refuse(const QString& text)
{
  notice(text + ReinstallAdvice, Icon::Exclamation);
  return nullptr;
}

koltrich::HResult runEntryPoint(const QString& libraryPath, bool registering)
{
  ComponentLibrary* library = ComponentLibrary::open(QDir::fromNativeSeparators(libraryPath));
  if (!library)
    return koltrich::SelfReg_E_Class;
  return registering ? library->registerServer() : library->unregisterServer();
}

} // namespace

IKoltRich* createControl(const QString& classIdOrProgId, QWidget* parent)
{
  const QString classId = ClassRegistry::classIdOf(classIdOrProgId);
  const QString path =
      QDir::fromNativeSeparators(classId.isEmpty() ? QString() : ClassRegistry::libraryPathOf(classId));
  if (path.isEmpty())
    return refuse(QStringLiteral("구성 요소(%1)가 이 컴퓨터에 등록되어 있지 않습니다.")
                      .arg(classIdOrProgId));

  ComponentLibrary::Status status = ComponentLibrary::Status::Loaded;
  ComponentLibrary* library = ComponentLibrary::open(path, &status);
  if (status == ComponentLibrary::Status::Missing)
    return refuse(QStringLiteral("구성 요소 파일(%1)을 찾을 수 없습니다.")
                      .arg(QDir::toNativeSeparators(path)));
  if (!library)
    return refuse(QStringLiteral("구성 요소 파일(%1)을 불러올 수 없습니다.")
                      .arg(QDir::toNativeSeparators(path)));

  void* object = nullptr;
  const koltrich::HResult result = library->classObject(
      QUuid::fromString(classId), QUuid::fromString(QLatin1String(koltrich::ClassFactoryId)),
      &object);
  IKoltRich* control = nullptr;
  if (result == koltrich::S_Ok && object)
    control = static_cast<IKoltRichClassFactory*>(object)->CreateInstance(parent);
  if (!control)
    return refuse(QStringLiteral("구성 요소(%1)를 만들 수 없습니다.").arg(classIdOrProgId));
  return control;
}

koltrich::HResult registerServer(const QString& libraryPath)
{
  return runEntryPoint(libraryPath, true);
}

koltrich::HResult unregisterServer(const QString& libraryPath)
{
  return runEntryPoint(libraryPath, false);
}

} // namespace vcm
