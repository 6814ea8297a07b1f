// A real Wine prefix, when one is named by TSR_REAL_WINEPREFIX (made with "wineboot -i");
// skipped otherwise, so that nothing here needs Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "core/registry/RegistryHive.h"
#include "posix/PosixServices.h"

namespace {

TEST(RealPrefix, LoadsTheMachineHiveAndReadsKernel32sVersion) {
  const char* prefix = std::getenv("TSR_REAL_WINEPREFIX");
  if (prefix == nullptr || *prefix == '\0') GTEST_SKIP() << "TSR_REAL_WINEPREFIX is not set";
  posix::InstallPosixServices(prefix);
  std::printf("machine hive: %zu keys\n", core::MachineHive()->KeyCount());

  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &key));
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, u"CurrentBuildNumber", nullptr, &type, nullptr, &size));
  EXPECT_EQ(DWORD{REG_SZ}, type);
  std::u16string build(size / 2, u'\0');
  ASSERT_EQ(ERROR_SUCCESS,
            RegQueryValueExW(key, u"CurrentBuildNumber", nullptr, &type, reinterpret_cast<LPBYTE>(build.data()), &size));
  std::printf("CurrentBuildNumber: %s\n", std::string(build.begin(), build.end() - 1).c_str());
  RegCloseKey(key);

  const LPCWSTR kernel = u"C:\\windows\\system32\\kernel32.dll";
  EXPECT_EQ(DWORD{FILE_ATTRIBUTE_NORMAL}, GetFileAttributesW(kernel));
  const DWORD blockSize = GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, kernel, nullptr);
  ASSERT_NE(0u, blockSize) << GetLastError();
  std::vector<BYTE> block(blockSize);
  ASSERT_TRUE(GetFileVersionInfoExW(FILE_VER_GET_NEUTRAL, kernel, 0, blockSize, block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
  std::printf("kernel32.dll product version %u.%u.%u.%u\n", HIWORD(info->dwProductVersionMS),
              LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS), LOWORD(info->dwProductVersionLS));

  core::InstallMachineHive(nullptr);
}

}  // namespace
