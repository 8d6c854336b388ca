#include "startup/ProgramVersion.h"

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
#include <winver.h>

#include <QByteArray>
#endif

namespace vcm {

namespace {

QString versionText(unsigned major, unsigned minor, unsigned revision)
{
  // Built from the numbers, so "1.0.57" can never come out as "1.0.057".
  return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

#ifdef Q_OS_WIN
/// FILEVERSION of the running program's own version resource; empty when it has none.
QString resourceVersion()
{
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  if (!resource)
    return {};
  const void* data = LockResource(LoadResource(nullptr, resource));
  if (!data)
    return {};
  // VerQueryValue may write into the block: a copy, not the mapped image.
  QByteArray block(static_cast<const char*>(data), static_cast<qsizetype>(SizeofResource(nullptr, resource)));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != 0xFEEF04BD)
    return {};
  return versionText(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                     HIWORD(fixed->dwFileVersionLS));
}
#endif

} // namespace

QString programVersionText()
{
#ifdef Q_OS_WIN
  // What a member sees in the file's properties and what an installation replaces: the
  // program's version resource. Programs without one (the tests) have the build's number.
  static const QString fromResource = resourceVersion();
  if (!fromResource.isEmpty())
    return fromResource;
#endif
  return versionText(VCM_VERSION_MAJOR, VCM_VERSION_MINOR, VCM_VERSION_PATCH);
}

} // namespace vcm
