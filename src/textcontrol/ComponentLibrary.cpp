#include "textcontrol/ComponentLibrary.h"

#include <QFileInfo>
#include <QHash>
#include <QLibrary>

#include <memory>

namespace vcm {

ComponentLibrary* ComponentLibrary::open(const QString& path, Status* status)
{
  static QHash<QString, std::shared_ptr<ComponentLibrary>> loaded;
  auto report = [status](Status s) {
    if (status)
      *status = s;
  };

  const QFileInfo file(path);
  if (path.isEmpty() || !file.isFile()) {
    report(Status::Missing);
    return nullptr;
  }
  const QString key = file.absoluteFilePath();
  if (auto found = loaded.value(key)) {
    report(Status::Loaded);
    return found.get();
  }

  // Never unloaded (see the class comment); the handle itself goes with the component.
  auto library = std::make_unique<QLibrary>(key);
  if (!library->load()) {
    report(Status::NotLoadable);
    return nullptr;
  }
  auto component = std::shared_ptr<ComponentLibrary>(new ComponentLibrary);
  component->m_path = key;
  component->m_register =
      reinterpret_cast<koltrich::DllRegisterServerFn>(library->resolve("DllRegisterServer"));
  component->m_unregister =
      reinterpret_cast<koltrich::DllUnregisterServerFn>(library->resolve("DllUnregisterServer"));
  component->m_getClassObject =
      reinterpret_cast<koltrich::DllGetClassObjectFn>(library->resolve("DllGetClassObject"));
  component->m_canUnloadNow =
      reinterpret_cast<koltrich::DllCanUnloadNowFn>(library->resolve("DllCanUnloadNow"));
  if (!component->m_register || !component->m_unregister || !component->m_getClassObject
      || !component->m_canUnloadNow) {
    // Some other library: nothing of it will be called, so it may go again.
    library->unload();
    report(Status::NotLoadable);
    return nullptr;
  }
  component->m_library = std::move(library);
  loaded.insert(key, component);
  report(Status::Loaded);
  return component.get();
}

ComponentLibrary::~ComponentLibrary() = default; // QLibrary's destructor does not unload

koltrich::HResult ComponentLibrary::registerServer() const
{
  return m_register();
}

koltrich::HResult ComponentLibrary::unregisterServer() const
{
  return m_unregister();
}

koltrich::HResult ComponentLibrary::classObject(const QUuid& classId, const QUuid& interfaceId,
                                                void** object) const
{
  return m_getClassObject(&classId, &interfaceId, object);
}

koltrich::HResult ComponentLibrary::canUnloadNow() const
{
  return m_canUnloadNow();
}

} // namespace vcm
