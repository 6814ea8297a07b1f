// The system version from kernel32.dll's version resource and the registry, over files and
// keys that the test gives the stand-in.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <windows.h>

#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"
#include "core/registry/RegistryHive.h"
#include "foundation/SystemVersion.h"
#include "posix/PosixFileVersions.h"
#include "posix/PosixServices.h"

namespace {

// The system directory's kernel32.dll is one of the fixture files; nothing else exists.
class Kernel32Only : public core::PathMapping {
 public:
  explicit Kernel32Only(std::string file) : file_(std::move(file)) {}
  std::optional<std::string> ToHostPath(std::u16string_view path) const override {
    if (!core::EqualsIgnoringAsciiCase(path, u"C:\\windows\\system32\\kernel32.dll")) return std::nullopt;
    return file_;
  }
  std::optional<std::u16string> ToPlatformPath(std::string_view) const override { return std::nullopt; }

 private:
  std::string file_;
};

struct Machine {
  const char* kernel32;  // fixture file name, or nullptr for none
  const char16_t* buildNumber;  // CurrentBuildNumber, or nullptr for none
  DWORD ubrType;
  std::uint64_t ubr;  // stored in ubrSize bytes
  DWORD ubrSize;
};

void Install(const Machine& machine) {
  const std::string file = machine.kernel32 ? std::string(TSR_TEST_DATA "/") + machine.kernel32 : "/nonexistent";
  core::InstallFileVersionSource(std::make_shared<const posix::PosixFileVersions>(std::make_shared<Kernel32Only>(file)));
  auto hive = std::make_shared<core::RegistryHive>();
  const auto key = hive->AddPath(u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  if (machine.buildNumber) hive->SetString(key, u"CurrentBuildNumber", machine.buildNumber);
  if (machine.ubrSize != 0) hive->SetValue(key, u"UBR", machine.ubrType, &machine.ubr, machine.ubrSize);
  core::InstallMachineHive(hive);
}

std::string Text(const DottedVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) + "." +
         std::to_string(v.revision) + " (" + std::to_string(v.count) + ")";
}

TEST(SystemVersion, FromKernel32AndTheRegistry) {
  struct Case {
    Machine machine;
    std::string expected;
  } cases[] = {
      // From build 18362 on the registry's build number replaces kernel32's.
      {{"kernel32-10.0.19041.1.dll", u"22631", REG_DWORD, 2861, 4}, "10.0.22631.2861 (4)"},
      // Below it only the revision comes from the registry.
      {{"kernel32-10.0.17763.1.dll", u"22631", REG_DWORD, 5329, 4}, "10.0.17763.5329 (4)"},
      {{"kernel32-6.1.7601.17514.dll", nullptr, REG_DWORD, 24545, 4}, "6.1.7601.24545 (4)"},
      {{"kernel32-6.1.7601.17514.dll", nullptr, 0, 0, 0}, "6.1.7601.0 (4)"},
      // A UBR of another type or size is no revision.
      {{"kernel32-10.0.19041.1.dll", u"19045", REG_SZ, 0x31, 4}, "10.0.19045.0 (4)"},
      {{"kernel32-10.0.19041.1.dll", u"19045", REG_QWORD, 7, 8}, "10.0.19045.0 (4)"},
      // The build text is parsed like the C library parses a decimal number.
      {{"kernel32-10.0.19041.1.dll", u"  22000.9x", REG_DWORD, 1, 4}, "10.0.22000.1 (4)"},
      {{"kernel32-10.0.19041.1.dll", u"none", REG_DWORD, 1, 4}, "10.0.0.1 (4)"},
      // Each component keeps its low 16 bits.
      {{"kernel32-10.0.19041.1.dll", u"65537", REG_DWORD, 0x10002, 4}, "10.0.1.2 (4)"},
      // Without version data nothing is read from the registry either.
      {{nullptr, u"22631", REG_DWORD, 2861, 4}, "0.0.0.0 (4)"},
      {{"../../platform/data/no-version.dll", u"22631", REG_DWORD, 2861, 4}, "0.0.0.0 (4)"},
  };
  for (const Case& c : cases) {
    Install(c.machine);
    EXPECT_EQ(c.expected, Text(ReadSystemVersion())) << (c.machine.kernel32 ? c.machine.kernel32 : "no file");
  }
  core::InstallMachineHive(nullptr);
  core::InstallFileVersionSource(nullptr);
}

TEST(SystemVersion, MissingRegistryKeyLeavesTheFileVersion) {
  Install({"kernel32-10.0.19041.1.dll", nullptr, 0, 0, 0});
  core::InstallMachineHive(nullptr);
  EXPECT_EQ("10.0.19041.0 (4)", Text(ReadSystemVersion()));
  core::InstallFileVersionSource(nullptr);
}

// A real Wine prefix, when TSR_REAL_WINEPREFIX names one; skipped otherwise.
TEST(SystemVersion, FromARealPrefix) {
  const char* prefix = std::getenv("TSR_REAL_WINEPREFIX");
  if (prefix == nullptr || *prefix == '\0') GTEST_SKIP() << "TSR_REAL_WINEPREFIX is not set";
  posix::InstallPosixServices(prefix);
  const DottedVersion version = ReadSystemVersion();
  std::printf("system version of %s: %s\n", prefix, Text(version).c_str());
  EXPECT_NE(0u, version.major);  // kernel32.dll was found and read
  core::InstallMachineHive(nullptr);
  core::InstallFileVersionSource(nullptr);
  core::InstallPathMapping(nullptr);
  core::InstallFileAttributeSource(nullptr);
}

}  // namespace
