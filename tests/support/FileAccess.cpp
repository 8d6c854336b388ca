#include "support/FileAccess.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <aclapi.h>

#include <string>
#include <vector>
#endif

namespace vcm::test {

#ifdef Q_OS_WIN
namespace {

EXPLICIT_ACCESS_W grant(PSID sid, DWORD rights)
{
  EXPLICIT_ACCESS_W e{};
  e.grfAccessPermissions = rights;
  e.grfAccessMode = SET_ACCESS;
  e.grfInheritance = NO_INHERITANCE;
  e.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  e.Trustee.ptstrName = static_cast<LPWSTR>(sid);
  return e;
}

} // namespace

bool restrictToOwner(const QString& path, bool everyoneReads)
{
  std::wstring native = QDir::toNativeSeparators(path).toStdWString();
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(native.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                            nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  BYTE system[SECURITY_MAX_SID_SIZE], admins[SECURITY_MAX_SID_SIZE], world[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof system;
  CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &size);
  size = sizeof admins;
  CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size);
  size = sizeof world;
  CreateWellKnownSid(WinWorldSid, nullptr, world, &size);
  std::vector<EXPLICIT_ACCESS_W> entries{grant(owner, FILE_ALL_ACCESS), grant(system, FILE_ALL_ACCESS),
                                         grant(admins, FILE_ALL_ACCESS)};
  if (everyoneReads)
    entries.push_back(grant(world, FILE_GENERIC_READ));
  PACL acl = nullptr;
  bool ok = SetEntriesInAclW(ULONG(entries.size()), entries.data(), nullptr, &acl) == ERROR_SUCCESS;
  ok = ok && SetNamedSecurityInfoW(native.data(), SE_FILE_OBJECT,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                   nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
  LocalFree(acl);
  LocalFree(descriptor);
  return ok;
}
#else
bool restrictToOwner(const QString& path, bool everyoneReads)
{
  QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
  if (everyoneReads)
    perms |= QFile::ReadGroup | QFile::ReadOther;
  return QFile::setPermissions(path, perms);
}
#endif

} // namespace vcm::test
