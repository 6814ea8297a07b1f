#include "foundation/OSVersionInfo.h"

#include <cstring>

#include "foundation/ExceptionPL.h"
#include "foundation/SystemVersion.h"
#include "foundation/WindowsError.h"

namespace SystemInformationDetail {

namespace {

constexpr std::string_view kGatherFailed = "Unable to gather OSVERSIONINFOEX";

[[noreturn]] void RaiseGatherFailed() { throw ExceptionPL(UStringRef<UTF8>(kGatherFailed)); }

}  // namespace

OSVersionInfoCache::OSVersionInfoCache(Query query, VersionSource version) : query_(query), version_(version) {}

void OSVersionInfoCache::Gather() {
  if (!queried_) {
    std::memset(&info_, 0, sizeof info_);
    info_.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (!query_(reinterpret_cast<LPOSVERSIONINFOW>(&info_))) {
      RaiseLastError();
      // A handler registered for the code may return instead of raising; the record is
      // still not filled, so this is a failure all the same.
      RaiseGatherFailed();
    }
    queried_ = true;
  }
  if (!corrected_) {
    // The platform's own answer depends on the process's manifest; the system version does not.
    const DottedVersion& version = version_();
    info_.dwMajorVersion = version.count >= 1 ? version.major : 0;
    info_.dwMinorVersion = version.count >= 2 ? version.minor : 0;
    info_.dwBuildNumber = version.count >= 3 ? version.build : 0;
    corrected_ = true;
  }
}

const OSVERSIONINFOEXW& OSVersionInfoCache::Get() {
  if (failed_) RaiseGatherFailed();
  try {
    Gather();
  } catch (...) {
    failed_ = true;
    RaiseGatherFailed();
  }
  return info_;
}

bool OSVersionInfoCache::IsAtLeast(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  if (!checked_) {
    Get();
    checked_ = true;
  }
  const DottedVersion& version = version_();
  if (version.major != major) return version.major > major;
  if (version.minor != minor) return version.minor > minor;
  return version.build >= build;
}

}  // namespace SystemInformationDetail

namespace {

SystemInformationDetail::OSVersionInfoCache& ProcessCache() {
  // Built under the language's thread-safe one-time initialisation.
  static SystemInformationDetail::OSVersionInfoCache cache(&GetVersionExW, &GetSystemVersion);
  return cache;
}

}  // namespace

const OSVERSIONINFOEXW& GetOSVersionInfo() { return ProcessCache().Get(); }

bool IsOSVersionAtLeast(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  return ProcessCache().IsAtLeast(major, minor, build);
}
