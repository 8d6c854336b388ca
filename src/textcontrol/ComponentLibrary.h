#pragma once

#include "textcontrol/KoltRichInterface.h"

#include <QString>

#include <memory>

class QLibrary;

namespace vcm {

/// A control library the program loads by path and talks to only through its exported
/// entry points. A loaded library stays loaded for the rest of the process: controls made
/// from it may live as long as any screen.
class ComponentLibrary {
public:
  enum class Status { Loaded, Missing, NotLoadable };

  /// The library at `path`, loaded once per process. Null with `status` saying why.
  static ComponentLibrary* open(const QString& path, Status* status = nullptr);

  ~ComponentLibrary();

  koltrich::HResult registerServer() const;
  koltrich::HResult unregisterServer() const;
  /// The class object for `classId` that implements `interfaceId`, or the failure code.
  koltrich::HResult classObject(const QUuid& classId, const QUuid& interfaceId,
                                void** object) const;
  /// S_Ok when no object of the library is alive.
  koltrich::HResult canUnloadNow() const;

  QString path() const { return m_path; }

private:
  ComponentLibrary() = default;

  std::unique_ptr<QLibrary> m_library;
  QString m_path;
  koltrich::DllRegisterServerFn m_register = nullptr;
  koltrich::DllUnregisterServerFn m_unregister = nullptr;
  koltrich::DllGetClassObjectFn m_getClassObject = nullptr;
  koltrich::DllCanUnloadNowFn m_canUnloadNow = nullptr;
};

} // namespace vcm
