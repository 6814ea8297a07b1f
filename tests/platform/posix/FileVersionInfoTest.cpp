// Version resources of real PE files through the platform's version calls.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <windows.h>

#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"
#include "posix/PeVersionResource.h"
#include "posix/PosixFileVersions.h"
#include "support/HostPaths.h"

namespace {

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::vector<BYTE> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

class FileVersionInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    core::InstallFileVersionSource(std::make_shared<const posix::PosixFileVersions>(std::make_shared<HostPaths>()));
  }
  void TearDown() override { core::InstallFileVersionSource(nullptr); }
};

TEST_F(FileVersionInfo, ReadsTheFixedRecordOfAPeFile) {
  const std::u16string path = Wide(TSR_TEST_DATA "/version-fixture.dll");
  DWORD handle = 0xDEAD;
  const DWORD size = GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, path.c_str(), &handle);
  ASSERT_NE(0u, size);
  EXPECT_EQ(0u, handle);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoExW(FILE_VER_GET_NEUTRAL, path.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  ASSERT_EQ(52u, length);
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(VS_FFI_SIGNATURE, info->dwSignature);
  // File 1.2.3.4 and product 5.6.7.8: each field and each half in its place.
  EXPECT_EQ(0x00010002u, info->dwFileVersionMS);
  EXPECT_EQ(0x00030004u, info->dwFileVersionLS);
  EXPECT_EQ(0x00050006u, info->dwProductVersionMS);
  EXPECT_EQ(0x00070008u, info->dwProductVersionLS);
  EXPECT_GE(value, static_cast<void*>(block.data()));  // points into the caller's block
  EXPECT_LT(value, static_cast<void*>(block.data() + size));
}

TEST_F(FileVersionInfo, FilesWithoutVersionDataFail) {
  struct Case {
    std::string path;
    DWORD error;
  } cases[] = {
      {TSR_TEST_DATA "/no-version.dll", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {TSR_TEST_DATA "/forms.reg", ERROR_RESOURCE_DATA_NOT_FOUND},  // not a PE file
      {TSR_TEST_DATA "/missing.dll", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    DWORD handle = 0;
    EXPECT_EQ(0u, GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, Wide(c.path).c_str(), &handle)) << c.path;
    EXPECT_EQ(c.error, GetLastError()) << c.path;
  }
}

TEST_F(FileVersionInfo, ShortBufferAndOtherSubBlocksAreRefused) {
  const std::u16string path = Wide(TSR_TEST_DATA "/version-fixture.dll");
  const DWORD size = GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, path.c_str(), nullptr);
  std::vector<BYTE> block(size);
  EXPECT_FALSE(GetFileVersionInfoExW(FILE_VER_GET_NEUTRAL, path.c_str(), 0, size - 1, block.data()));
  EXPECT_EQ(DWORD{ERROR_INSUFFICIENT_BUFFER}, GetLastError());
  ASSERT_TRUE(GetFileVersionInfoExW(FILE_VER_GET_NEUTRAL, path.c_str(), 0, size, block.data()));
  void* value = nullptr;
  UINT length = 0;
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\FileDescription", &value, &length));
  // A block whose record lost its signature has no fixed record.
  std::vector<BYTE> damaged = block;
  damaged[40] ^= 0xFF;
  EXPECT_FALSE(VerQueryValueW(damaged.data(), u"\\", &value, &length));
}

TEST(PeVersionResource, TruncatedAndDamagedFilesAreRefusedSafely) {
  const std::vector<BYTE> file = ReadAll(TSR_TEST_DATA "/version-fixture.dll");
  ASSERT_GT(file.size(), 1024u);
  std::vector<BYTE> resource;
  DWORD error = 0;
  ASSERT_TRUE(posix::FindPeVersionResource(file.data(), file.size(), resource, error));
  // Every cut of the file either finds the same resource or fails; none reads past the end
  // (the sanitizer build checks the latter).
  for (std::size_t size = 0; size < file.size(); size += 7) {
    std::vector<BYTE> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    std::vector<BYTE> found;
    if (posix::FindPeVersionResource(cut.data(), cut.size(), found, error)) {
      EXPECT_EQ(resource, found);
    }
  }
  // A header that points the PE signature far outside the file.
  std::vector<BYTE> damaged = file;
  damaged[0x3C] = damaged[0x3D] = damaged[0x3E] = damaged[0x3F] = 0xFF;
  EXPECT_FALSE(posix::FindPeVersionResource(damaged.data(), damaged.size(), resource, error));
  EXPECT_EQ(DWORD{ERROR_RESOURCE_DATA_NOT_FOUND}, error);
}

}  // namespace
