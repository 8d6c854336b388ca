// What Windows shows of the built program: its version (the one start-up compares with
// the published version), its icon and its manifest.
#include "startup/ProgramVersion.h"

#include <QString>
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <vector>

namespace {

const wchar_t* const kProgram = L"" VCM_PROGRAM_EXE;

TEST(ProgramResources, FileVersionIsTheVersionStartupCompares)
{
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(kProgram, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(kProgram, 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const QString version = QStringLiteral("%1.%2.%3")
                              .arg(HIWORD(fixed->dwFileVersionMS))
                              .arg(LOWORD(fixed->dwFileVersionMS))
                              .arg(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(version, vcm::programVersionText());
}

TEST(ProgramResources, IconAndManifest)
{
  HMODULE program = LoadLibraryExW(kProgram, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(FindResourceW(program, L"IDI_ICON1", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */), nullptr);
  HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
  ASSERT_NE(manifest, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(program, manifest)));
  const QString xml = QString::fromUtf8(text, SizeofResource(program, manifest));
  EXPECT_TRUE(xml.contains(QStringLiteral("PerMonitorV2")));
  EXPECT_TRUE(xml.contains(QStringLiteral("Microsoft.Windows.Common-Controls")));
  EXPECT_FALSE(xml.contains(QStringLiteral("activeCodePage"))) << "the system's code page stays in force";
  FreeLibrary(program);
}

} // namespace
