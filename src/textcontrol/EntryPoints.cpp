// The library's exported entry points: self-registration, the class object and the
// unload check, with the names and result codes a component host expects.

#include "textcontrol/ClassRegistry.h"
#include "textcontrol/KoltRich.h"
#include "textcontrol/KoltRichClassFactory.h"
#include "textcontrol/KoltRichInterface.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
// Lean: the full headers declare the component entry points with the system's types.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <iterator>
#else
#include <dlfcn.h>
#endif

using namespace vcm;
using namespace vcm::koltrich;

namespace {

/// Full path of this library file, which registration records.
QString thisLibraryPath()
{
#ifdef Q_OS_WIN
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                              | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&thisLibraryPath), &module))
    return {};
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(module, buffer, DWORD(std::size(buffer)));
  return length ? QString::fromWCharArray(buffer, int(length)) : QString();
#else
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&thisLibraryPath), &info) || !info.dli_fname)
    return {};
  return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
#endif
}

} // namespace

extern "C" {

Q_DECL_EXPORT HResult KOLTRICH_STDCALL DllRegisterServer()
{
  const QString path = thisLibraryPath();
  if (path.isEmpty())
    return SelfReg_E_Class;
  return ClassRegistry::registerClass(QLatin1String(ProgId), QLatin1String(ClassId),
                                      QLatin1String(ClassName), path)
             ? S_Ok
             : SelfReg_E_Class;
}

Q_DECL_EXPORT HResult KOLTRICH_STDCALL DllUnregisterServer()
{
  return ClassRegistry::unregisterClass(QLatin1String(ProgId), QLatin1String(ClassId))
             ? S_Ok
             : SelfReg_E_Class;
}

Q_DECL_EXPORT HResult KOLTRICH_STDCALL DllGetClassObject(const QUuid* classId,
                                                         const QUuid* interfaceId,
                                                         void** object)
{
  if (!object)
    return E_Pointer;
  *object = nullptr;
  if (!classId || !interfaceId)
    return E_Pointer;
  if (*classId != QUuid::fromString(QLatin1String(ClassId)))
    return Class_E_ClassNotAvailable;
  if (*interfaceId != QUuid::fromString(QLatin1String(ClassFactoryId)))
    return E_NoInterface;
  *object = static_cast<IKoltRichClassFactory*>(&KoltRichClassFactory::instance());
  return S_Ok;
}

Q_DECL_EXPORT HResult KOLTRICH_STDCALL DllCanUnloadNow()
{
  return KoltRich::liveInstances() == 0 ? S_Ok : S_False;
}

} // extern "C"
