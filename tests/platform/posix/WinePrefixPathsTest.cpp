// Platform paths through a prefix's drive links, both ways, and attributes from stat().
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

#include <windows.h>

#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/PathMapping.h"
#include "posix/PosixFileAttributes.h"
#include "posix/WinePrefixPaths.h"

namespace {

// A prefix in a temporary folder: drive_c with a few files, and dosdevices links
// c: -> ../drive_c (relative, as the prefix writes it) and d: -> an absolute folder.
class Prefix : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tsr-prefix-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(pattern));
    root_ = pattern;
    Make(root_ + "/drive_c");
    Make(root_ + "/drive_c/windows");
    Make(root_ + "/drive_c/windows/system32");
    Make(root_ + "/drive_c/Program Files");
    Make(root_ + "/data");
    Make(root_ + "/dosdevices");
    Write(root_ + "/drive_c/windows/system32/kernel32.dll");
    Write(root_ + "/drive_c/readonly.txt");
    ::chmod((root_ + "/drive_c/readonly.txt").c_str(), 0444);
    ASSERT_EQ(0, ::symlink("../drive_c", (root_ + "/dosdevices/c:").c_str()));
    ASSERT_EQ(0, ::symlink((root_ + "/data").c_str(), (root_ + "/dosdevices/d:").c_str()));
    // e: and a folder of drive_c lead back to themselves.
    ASSERT_EQ(0, ::symlink("e:", (root_ + "/dosdevices/e:").c_str()));
    ASSERT_EQ(0, ::symlink("loop", (root_ + "/drive_c/loop").c_str()));
    ASSERT_EQ(0, ::mkfifo((root_ + "/drive_c/pipe.html").c_str(), 0600));
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  static void Make(const std::string& path) { ASSERT_EQ(0, ::mkdir(path.c_str(), 0755)); }
  static void Write(const std::string& path) { std::ofstream(path) << "x"; }

  std::string root_;
};

TEST_F(Prefix, PlatformPathsMapToHostPaths) {
  const posix::WinePrefixPaths paths(root_);
  struct Case {
    std::u16string_view platform;
    std::string host;  // "" for none
  } cases[] = {
      {u"C:\\windows\\system32\\kernel32.dll", root_ + "/drive_c/windows/system32/kernel32.dll"},
      // Letter case of the path is matched against what exists, as the platform ignores it.
      {u"c:\\Windows\\System32\\KERNEL32.DLL", root_ + "/drive_c/windows/system32/kernel32.dll"},
      {u"C:/Program Files/new.txt", root_ + "/drive_c/Program Files/new.txt"},
      {u"\\\\?\\C:\\windows", root_ + "/drive_c/windows"},  // the long-path form
      {u"D:\\x\\y", root_ + "/data/x/y"},
      {u"Z:\\usr\\lib", "/usr/lib"},  // Z: is / when its link is missing
      {u"/etc/hosts", "/etc/hosts"},  // a host path stays
      {u"relative\\name", "relative/name"},
      {u"Q:\\nothing", ""},            // no such drive
      {u"\\\\server\\share\\x", ""},  // no shares in a prefix
      {std::u16string_view(u"C:\\a\0b", 6), ""},  // never cut at a zero unit
  };
  for (const Case& c : cases) {
    const std::optional<std::string> host = paths.ToHostPath(c.platform);
    EXPECT_EQ(c.host, host.value_or("")) << std::string(c.platform.begin(), c.platform.end());
  }
}

TEST_F(Prefix, HostPathsMapBackUnderTheLongestDriveTarget) {
  const posix::WinePrefixPaths paths(root_);
  struct Case {
    std::string host;
    std::u16string platform;  // u"" for none
  } cases[] = {
      {root_ + "/drive_c/Program Files/Tessarin/runvane.html", u"C:\\Program Files\\Tessarin\\runvane.html"},
      {root_ + "/drive_c", u"C:\\"},
      {root_ + "/drive_c/./windows/../windows/", u"C:\\windows"},
      {root_ + "/data/x", u"D:\\x"},
      {root_ + "/drive_cx/y", u"Z:" + std::u16string(root_.begin(), root_.end()) + u"/drive_cx/y"},
      {"/usr/share/doc", u"Z:\\usr\\share\\doc"},
      {"relative/path", u""},
  };
  for (Case& c : cases) {
    // Expected Z: paths are written with "/" above for brevity.
    for (char16_t& unit : c.platform) {
      if (unit == u'/') unit = u'\\';
    }
    const std::optional<std::u16string> platform = paths.ToPlatformPath(c.host);
    EXPECT_EQ(c.platform, platform.value_or(u"")) << c.host;
  }
}

TEST_F(Prefix, DefaultDrivesWithoutLinks) {
  std::system(("rm -rf '" + root_ + "/dosdevices'").c_str());
  const posix::WinePrefixPaths paths(root_);
  EXPECT_EQ(root_ + "/drive_c", paths.DriveTarget(u'C').value_or(""));
  EXPECT_EQ("/", paths.DriveTarget(u'z').value_or(""));
  EXPECT_FALSE(paths.DriveTarget(u'D').has_value());
}

TEST_F(Prefix, AttributesComeFromStat) {
  auto mapping = std::make_shared<const posix::WinePrefixPaths>(root_);
  core::InstallFileAttributeSource(std::make_shared<const posix::PosixFileAttributes>(mapping));
  struct Case {
    const char16_t* path;
    DWORD attributes;
    DWORD error;  // the last error when the attributes are invalid
  } cases[] = {
      {u"C:\\windows", FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"C:\\windows\\system32\\kernel32.dll", FILE_ATTRIBUTE_NORMAL, 0},
      {u"C:\\readonly.txt", FILE_ATTRIBUTE_READONLY, 0},
      {u"C:\\pipe.html", FILE_ATTRIBUTE_DEVICE, 0},
      {u"C:\\missing.txt", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {u"C:\\missing\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"Q:\\file.txt", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"C:\\readonly.txt\\x.html", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},  // a file on the way
      {u"C:\\loop\\x.html", INVALID_FILE_ATTRIBUTES, ERROR_CANT_RESOLVE_FILENAME},
      {u"E:\\x.html", INVALID_FILE_ATTRIBUTES, ERROR_CANT_RESOLVE_FILENAME},  // a drive link to itself
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(c.attributes, GetFileAttributesW(c.path)) << std::string(c.path, c.path + std::u16string_view(c.path).size());
    if (c.attributes == INVALID_FILE_ATTRIBUTES) {
      EXPECT_EQ(c.error, GetLastError());
    }
  }
  // Only a caller that knows the length can pass a zero unit inside; it is refused, not cut.
  DWORD error = 0;
  const posix::PosixFileAttributes attributes(mapping);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, attributes.Attributes(std::u16string_view(u"C:\\windows\0x", 12), error));
  EXPECT_EQ(DWORD{ERROR_INVALID_NAME}, error);
  core::InstallFileAttributeSource(nullptr);
}

// Tests run as root, where permissions do not deny anything: the mapping is checked as such.
TEST(PlatformErrorOf, FileSystemErrorsBecomeThePlatformsCodes) {
  const std::pair<int, DWORD> cases[] = {
      {ENOENT, ERROR_FILE_NOT_FOUND}, {ENOTDIR, ERROR_PATH_NOT_FOUND}, {EACCES, ERROR_ACCESS_DENIED},
      {EPERM, ERROR_ACCESS_DENIED},   {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
  };
  for (const auto& [error, code] : cases) EXPECT_EQ(code, posix::PlatformErrorOf(error)) << error;
}

TEST_F(Prefix, ARelativePrefixIsTakenAgainstTheWorkingFolder) {
  char* saved = ::getcwd(nullptr, 0);
  ASSERT_EQ(0, ::chdir("/tmp"));
  const std::string relative = root_.substr(std::string("/tmp/").size());
  const posix::WinePrefixPaths paths(relative);
  EXPECT_EQ(root_ + "/drive_c", paths.DriveTarget(u'C').value_or(""));
  EXPECT_EQ(root_ + "/drive_c/windows", paths.ToHostPath(u"C:\\windows").value_or(""));
  // The guide's file comes back as the drive path it was, not as a path of drive Z:.
  EXPECT_EQ(u"C:\\windows", paths.ToPlatformPath(root_ + "/drive_c/windows").value_or(u""));
  ::setenv("WINEPREFIX", relative.c_str(), 1);
  EXPECT_EQ(root_, posix::DefaultWinePrefix());
  ::unsetenv("WINEPREFIX");
  ASSERT_EQ(0, ::chdir(saved));
  std::free(saved);
}

TEST(WinePrefix, ComesFromTheEnvironment) {
  const char* saved = std::getenv("WINEPREFIX");
  const std::string keep = saved ? saved : "";
  ::setenv("WINEPREFIX", "/srv/prefix", 1);
  EXPECT_EQ("/srv/prefix", posix::DefaultWinePrefix());
  ::unsetenv("WINEPREFIX");
  const char* home = std::getenv("HOME");
  if (home != nullptr) {
    EXPECT_EQ(std::string(home) + "/.wine", posix::DefaultWinePrefix());
  }
  if (saved) ::setenv("WINEPREFIX", keep.c_str(), 1);
}

}  // namespace
