// Modules load, but export only the entry points that were installed.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/kernel/LoaderEntryPoints.h"

namespace {

INT_PTR Answer() { return 42; }

TEST(ModuleLoader, BuiltInModulesExportOnlyInstalledEntryPoints) {
  HMODULE kernel = LoadLibraryW(u"Kernel32.dll");
  ASSERT_NE(nullptr, kernel);
  EXPECT_EQ(kernel, LoadLibraryW(u"KERNEL32"));  // one module, whatever the spelling
  EXPECT_EQ(nullptr, GetProcAddress(kernel, "Wow64DisableWow64FsRedirection"));
  EXPECT_EQ(DWORD{ERROR_PROC_NOT_FOUND}, GetLastError());

  core::InstallEntryPoint(u"kernel32", "TsrAnswer", &Answer);
  const FARPROC entry = GetProcAddress(kernel, "TsrAnswer");
  ASSERT_NE(nullptr, entry);
  EXPECT_EQ(42, entry());
  EXPECT_EQ(nullptr, GetProcAddress(kernel, "tsranswer"));  // entry names are case-sensitive
  core::RemoveEntryPoint(u"Kernel32.dll", "TsrAnswer");
  EXPECT_EQ(nullptr, GetProcAddress(kernel, "TsrAnswer"));
  EXPECT_TRUE(FreeLibrary(kernel));
}

TEST(ModuleLoader, UnknownModulesAndHandlesFail) {
  EXPECT_EQ(nullptr, LoadLibraryW(u"nosuch.dll"));
  EXPECT_EQ(DWORD{ERROR_MOD_NOT_FOUND}, GetLastError());
  const HMODULE bogus = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x40));
  EXPECT_EQ(nullptr, GetProcAddress(bogus, "x"));
  EXPECT_FALSE(FreeLibrary(bogus));
  EXPECT_EQ(DWORD{ERROR_INVALID_HANDLE}, GetLastError());
}

TEST(SystemInformation, DirectoryAndVersionRecordFollowThePlatformsProtocol) {
  WCHAR small[5];
  EXPECT_EQ(20u, GetSystemDirectoryW(small, 5));  // the size needed, zero unit included
  WCHAR buffer[20];
  ASSERT_EQ(19u, GetSystemDirectoryW(buffer, 20));
  EXPECT_EQ(std::u16string_view(u"C:\\windows\\system32"), std::u16string_view(buffer));

  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info)));
  EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, info.dwPlatformId);
  EXPECT_EQ(BYTE{VER_NT_WORKSTATION}, info.wProductType);
  info.dwOSVersionInfoSize = 100;
  EXPECT_FALSE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&info)));
  EXPECT_EQ(DWORD{ERROR_INSUFFICIENT_BUFFER}, GetLastError());
}

}  // namespace
