#include "foundation/SystemVersion.h"

#include <cmath>
#include <cwchar>
#include <string>

#include <windows.h>

#include "WideText.h"
#include "foundation/FileLocation.h"
#include "foundation/FileName.h"
#include "foundation/FileVersion.h"
#include "foundation/RegistryTryReads.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr UINT kDirectoryUnits = 261;
constexpr LPCWSTR kCurrentVersionKey = WIDE("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
// From this build on, kernel32.dll no longer follows the system's build number.
constexpr std::uint32_t kFirstCorrectedBuild = 18362;

// The C library's decimal conversion of wide text, truncated toward zero; no number gives 0.
std::uint32_t ParseBuildNumber(const WString& text) {
  std::wstring wide(text.begin(), text.end());
  const double parsed = std::wcstod(wide.c_str(), nullptr);
  const double truncated = std::trunc(parsed);
  // Values the 64-bit range cannot hold (and NaN) have no build to keep.
  if (!(std::fabs(truncated) < 9.2e18)) return 0;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(truncated));
}

std::uint32_t ReadUpdateRevision(HKEY key) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, WIDE("UBR"), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return 0;
  if (type != REG_DWORD || size != sizeof(DWORD)) return 0;
  DWORD revision = 0;
  size = sizeof revision;
  if (RegQueryValueExW(key, WIDE("UBR"), nullptr, &type, reinterpret_cast<LPBYTE>(&revision), &size) != ERROR_SUCCESS) {
    return 0;
  }
  return revision;
}

DottedVersion Stored(std::uint32_t major, std::uint32_t minor, std::uint32_t build, std::uint32_t revision) {
  return DottedVersion{major & 0xFFFFu, minor & 0xFFFFu, build & 0xFFFFu, revision & 0xFFFFu, 4};
}

}  // namespace

DottedVersion ReadSystemVersion() {
  WCHAR directory[kDirectoryUnits];
  const UINT length = GetSystemDirectoryW(directory, kDirectoryUnits);
  if (length == 0 || length >= kDirectoryUnits) return Stored(0, 0, 0, 0);

  const FileLocation folder(TranscodeU16ToU8(UStringRef<UTF16>(directory, length)).Ref());
  const FileLocation kernel = folder.Append(FileName(UStringRef<UTF8>(std::string_view("kernel32.dll"))));
  const std::unique_ptr<VS_FIXEDFILEINFO> info = ReadFileVersion(kernel, true);
  if (!info) return Stored(0, 0, 0, 0);

  const std::uint32_t major = HIWORD(info->dwProductVersionMS);
  const std::uint32_t minor = LOWORD(info->dwProductVersionMS);
  std::uint32_t build = HIWORD(info->dwProductVersionLS);
  std::uint32_t revision = 0;

  RegistryKey key;
  if (TryOpenRegistryKey(HKEY_LOCAL_MACHINE, kCurrentVersionKey, key, KEY_READ) == ERROR_SUCCESS) {
    if (major == 10 && minor == 0 && build >= kFirstCorrectedBuild) {
      WString text;
      if (TryReadRegistryString(key.Get(), WIDE("CurrentBuildNumber"), text) == ERROR_SUCCESS) {
        build = ParseBuildNumber(text);
      }
    }
    revision = ReadUpdateRevision(key.Get());
  }
  return Stored(major, minor, build, revision);
}

const DottedVersion& GetSystemVersion() {
  // Filled on first use without a lock: the first call comes from the user-interface thread
  // before any other thread asks.
  static DottedVersion version;
  static bool filled = false;
  if (!filled) {
    version = ReadSystemVersion();
    filled = true;
  }
  return version;
}
