// The OS version record and test built on the system version.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <windows.h>

#include "foundation/ExceptionPL.h"
#include "foundation/OSVersionInfo.h"
#include "foundation/SystemVersion.h"

namespace {

std::string Text(const DottedVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) + "." +
         std::to_string(v.revision) + " (" + std::to_string(v.count) + ")";
}

// Stand-ins for the platform query and the system version, for the record's cache.
DottedVersion currentVersion;
int queries = 0;
const DottedVersion& CurrentVersion() { return currentVersion; }
BOOL SucceedingQuery(LPOSVERSIONINFOW info) {
  ++queries;
  return GetVersionExW(info);
}
BOOL FailingQuery(LPOSVERSIONINFOW) {
  ++queries;
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

TEST(OSVersionInfo, TakesTheSystemVersionIntoThePlatformsRecord) {
  currentVersion = {10, 0, 22631, 2861, 4};
  queries = 0;
  SystemInformationDetail::OSVersionInfoCache cache(&SucceedingQuery, &CurrentVersion);
  const OSVERSIONINFOEXW& info = cache.Get();
  EXPECT_EQ(284u, info.dwOSVersionInfoSize);
  EXPECT_EQ(10u, info.dwMajorVersion);
  EXPECT_EQ(0u, info.dwMinorVersion);
  EXPECT_EQ(22631u, info.dwBuildNumber);
  EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, info.dwPlatformId);  // as the platform filled it
  cache.Get();
  EXPECT_EQ(1, queries);  // asked once

  // Components beyond the count are 0.
  currentVersion = {6, 1, 7601, 0, 2};
  SystemInformationDetail::OSVersionInfoCache partial(&SucceedingQuery, &CurrentVersion);
  EXPECT_EQ(0u, partial.Get().dwBuildNumber);
  EXPECT_EQ(1u, partial.Get().dwMinorVersion);
}

TEST(OSVersionInfo, OnceFailedStaysFailed) {
  queries = 0;
  SystemInformationDetail::OSVersionInfoCache cache(&FailingQuery, &CurrentVersion);
  for (int i = 0; i < 2; ++i) {
    try {
      cache.Get();
      FAIL() << "no failure";
    } catch (const ExceptionPL& error) {
      EXPECT_EQ("Unable to gather OSVERSIONINFOEX", std::string(error.MessageUtf8().view()));
    }
  }
  EXPECT_EQ(1, queries);
  EXPECT_THROW(cache.IsAtLeast(0, 0, 0), ExceptionPL);
  EXPECT_THROW(cache.IsAtLeast(0, 0, 0), ExceptionPL);  // tries again, fails the same way
}

TEST(OSVersionInfo, IsAtLeastComparesMajorMinorBuild) {
  struct Case {
    DottedVersion version;
    std::uint32_t major, minor, build;
    bool expected;
  } cases[] = {
      {{6, 0, 6000, 0, 4}, 6, 0, 0, true},   {{5, 2, 3790, 0, 4}, 6, 0, 0, false},
      {{10, 0, 0, 0, 4}, 6, 0, 0, true},     {{0, 0, 0, 0, 4}, 6, 0, 0, false},
      {{0, 0, 0, 0, 4}, 0, 0, 0, true},      {{6, 1, 0, 0, 4}, 6, 0, 9999, true},
      {{6, 0, 9999, 0, 4}, 6, 1, 0, false},  {{10, 0, 22631, 0, 4}, 10, 0, 22632, false},
      {{10, 0, 22631, 9, 4}, 10, 0, 22631, true},  // the revision takes no part
  };
  for (const Case& c : cases) {
    currentVersion = c.version;
    SystemInformationDetail::OSVersionInfoCache cache(&SucceedingQuery, &CurrentVersion);
    EXPECT_EQ(c.expected, cache.IsAtLeast(c.major, c.minor, c.build))
        << Text(c.version) << " >= " << c.major << "." << c.minor << "." << c.build;
  }
}

TEST(SystemVersion, IsWorkedOutOnceForTheProcess) {
  const DottedVersion& first = GetSystemVersion();
  EXPECT_EQ(&first, &GetSystemVersion());
  EXPECT_EQ(4u, first.count);
}

#ifdef _WIN32
// The running system's own kernel32.dll and registry. ntdll's RtlGetVersion tells the true
// version, which GetVersionExW hides from a program whose manifest does not name the system.
TEST(SystemVersion, FromTheRunningSystem) {
  using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<GetVersion>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(nullptr, rtlGetVersion);
  OSVERSIONINFOW expected{};
  expected.dwOSVersionInfoSize = sizeof expected;
  ASSERT_EQ(0, rtlGetVersion(&expected));
  const DottedVersion version = ReadSystemVersion();
  std::printf("system version: %s\n", Text(version).c_str());
  EXPECT_EQ(expected.dwMajorVersion, version.major);
  EXPECT_EQ(expected.dwMinorVersion, version.minor);
  EXPECT_EQ(expected.dwBuildNumber, version.build);
}
#endif

}  // namespace
