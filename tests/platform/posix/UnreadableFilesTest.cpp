// Files the platform parses are read only when they are regular files of a bounded size: a
// named pipe is not waited for, a device is not read forever, and a huge file is refused with
// its size named.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include <windows.h>

#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"
#include "posix/PosixFileVersions.h"
#include "posix/RegistryHiveError.h"
#include "posix/WineHiveParser.h"
#include "support/HostPaths.h"

namespace {

// A folder with a named pipe nobody writes to, a folder and sparse files just over each bound
// (they take no disk space).
class UnreadableFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tsr-unreadable-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    root_ = pattern;
    ASSERT_EQ(0, ::mkfifo(Path("pipe").c_str(), 0600));
    ASSERT_EQ(0, ::mkdir(Path("folder").c_str(), 0700));
    Sparse("huge.reg", posix::kLargestHive + 1);
    Sparse("huge.dll", (std::uint64_t{512} << 20) + 1);
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return root_ + "/" + name; }
  void Sparse(const std::string& name, std::uint64_t size) {
    std::ofstream(Path(name)) << "WINE REGISTRY Version 2\n";
    ASSERT_EQ(0, ::truncate(Path(name).c_str(), static_cast<off_t>(size)));
  }

  std::string root_;
};

TEST_F(UnreadableFiles, AHiveThatIsNoRegularFileOrTooLargeNamesTheFileAndWhy) {
  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {Path("pipe"), "is a named pipe, not a regular file"},
      {"/dev/zero", "is a character device, not a regular file"},
      {Path("folder"), "is a folder, not a regular file"},
      {Path("huge.reg"), "is 128 MiB (134217729 bytes); at most 128 MiB are read"},
  };
  for (const Case& c : cases) {
    try {
      posix::LoadWineHive(c.path);
      ADD_FAILURE() << "read as a hive: " << c.path;
    } catch (const posix::RegistryHiveError& error) {
      EXPECT_EQ(c.path + ": " + c.reason, error.what());
      EXPECT_EQ(0u, error.Line()) << c.path;
      EXPECT_FALSE(error.Missing()) << c.path;
    }
  }
  try {
    posix::LoadWineHive(Path("missing.reg"));
    ADD_FAILURE() << "a missing hive was read";
  } catch (const posix::RegistryHiveError& error) {
    EXPECT_TRUE(error.Missing());
  }
}

TEST_F(UnreadableFiles, AVersionResourceIsReadOnlyFromARegularFileOfBoundedSize) {
  core::InstallFileVersionSource(std::make_shared<const posix::PosixFileVersions>(std::make_shared<HostPaths>()));
  struct Case {
    std::string path;
    DWORD error;
  } cases[] = {
      {Path("pipe"), ERROR_ACCESS_DENIED},
      {"/dev/zero", ERROR_ACCESS_DENIED},
      {Path("huge.dll"), ERROR_FILE_TOO_LARGE},
  };
  for (const Case& c : cases) {
    const std::u16string path(c.path.begin(), c.path.end());
    SetLastError(0);
    DWORD handle = 0;
    EXPECT_EQ(0u, GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, path.c_str(), &handle)) << c.path;
    EXPECT_EQ(c.error, GetLastError()) << c.path;
  }
  core::InstallFileVersionSource(nullptr);
}

}  // namespace
