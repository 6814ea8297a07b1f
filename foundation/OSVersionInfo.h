// The platform's operating-system version record with its version fields taken from the
// system version, and the version test the dialogs use.
#pragma once

#include <cstdint>

#include <windows.h>
#include <sysinfoapi.h>

#include "foundation/DottedVersion.h"

// The process-wide record. Raises ExceptionPL "Unable to gather OSVERSIONINFOEX" when it
// cannot be gathered, on that call and on every later one.
const OSVERSIONINFOEXW& GetOSVersionInfo();

// Whether the system version's (major, minor, build) is at least the one given; the revision
// takes no part. Raises what GetOSVersionInfo raises.
bool IsOSVersionAtLeast(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

namespace SystemInformationDetail {

// The record's cache, apart from the process-wide instance so that its failure path can be
// driven: `query` stands for GetVersionExW, `version` for GetSystemVersion.
class OSVersionInfoCache {
 public:
  using Query = BOOL (*)(LPOSVERSIONINFOW);
  using VersionSource = const DottedVersion& (*)();

  OSVersionInfoCache(Query query, VersionSource version);
  const OSVERSIONINFOEXW& Get();
  bool IsAtLeast(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

 private:
  void Gather();

  Query query_;
  VersionSource version_;
  OSVERSIONINFOEXW info_{};
  bool queried_ = false;
  bool corrected_ = false;
  bool failed_ = false;
  bool checked_ = false;
};

}  // namespace SystemInformationDetail
