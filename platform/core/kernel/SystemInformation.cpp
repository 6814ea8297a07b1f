// The system directory and the operating-system version record.
#include "sysinfoapi.h"

#include <cstring>
#include <string_view>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

// Where a prefix keeps the system's libraries; the path mapping puts it below drive_c.
constexpr std::u16string_view kSystemDirectory = u"C:\\windows\\system32";

// What the platform reports to a process without a compatibility manifest: 6.2.9200. The
// system's own version comes from its libraries, never from this record.
constexpr DWORD kMajor = 6;
constexpr DWORD kMinor = 2;
constexpr DWORD kBuild = 9200;
constexpr WORD kSuiteSingleUserTerminalServices = 0x0100;

}  // namespace

UINT GetSystemDirectoryW(LPWSTR buffer, UINT size) {
  const auto length = static_cast<UINT>(kSystemDirectory.size());
  if (buffer == nullptr || size <= length) return length + 1;
  std::memcpy(buffer, kSystemDirectory.data(), length * sizeof(WCHAR));
  buffer[length] = u'\0';
  return length;
}

BOOL GetVersionExW(LPOSVERSIONINFOW info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = info->dwOSVersionInfoSize;
  if (size != sizeof(OSVERSIONINFOW) && size != sizeof(OSVERSIONINFOEXW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = kMajor;
  info->dwMinorVersion = kMinor;
  info->dwBuildNumber = kBuild;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  if (size == sizeof(OSVERSIONINFOEXW)) {
    auto* extended = reinterpret_cast<LPOSVERSIONINFOEXW>(info);
    extended->wServicePackMajor = 0;
    extended->wServicePackMinor = 0;
    extended->wSuiteMask = kSuiteSingleUserTerminalServices;
    extended->wProductType = VER_NT_WORKSTATION;
    extended->wReserved = 0;
  }
  return TRUE;
}
