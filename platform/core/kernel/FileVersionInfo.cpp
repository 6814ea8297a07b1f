// The file version calls over the installed version source. The block handed to the caller
// is the file's VS_VERSIONINFO resource as stored.
#include "winver.h"

#include <cstring>
#include <string_view>

#include "core/kernel/FileVersionSource.h"
#include "core/kernel/InstalledService.h"
#include "core/kernel/VersionBlock.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

namespace {
InstalledService<const FileVersionSource> installedSource;

std::shared_ptr<const FileVersionSource> CurrentSource() { return installedSource.Current(); }

// Reads the resource, or sets the last error and returns false.
bool ReadResource(LPCWSTR fileName, std::vector<BYTE>& resource) {
  if (fileName == nullptr || *fileName == u'\0') {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  std::shared_ptr<const FileVersionSource> source = CurrentSource();
  if (!source) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  DWORD error = ERROR_SUCCESS;
  if (!source->ReadVersionResource(std::u16string_view(fileName), resource, error)) {
    SetLastError(error == ERROR_SUCCESS ? ERROR_RESOURCE_TYPE_NOT_FOUND : error);
    return false;
  }
  return true;
}

constexpr DWORD kKnownFlags = FILE_VER_GET_LOCALISED | FILE_VER_GET_NEUTRAL | FILE_VER_GET_PREFETCHED;

}  // namespace

void InstallFileVersionSource(std::shared_ptr<const FileVersionSource> source) {
  installedSource.Install(std::move(source));
}

}  // namespace core

DWORD GetFileVersionInfoSizeExW(DWORD flags, LPCWSTR fileName, LPDWORD handle) {
  if (handle != nullptr) *handle = 0;
  if ((flags & ~core::kKnownFlags) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  std::vector<BYTE> resource;
  if (!core::ReadResource(fileName, resource)) return 0;
  return static_cast<DWORD>(resource.size());
}

BOOL GetFileVersionInfoExW(DWORD flags, LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data) {
  if ((flags & ~core::kKnownFlags) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return FALSE;
  }
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<BYTE> resource;
  if (!core::ReadResource(fileName, resource)) return FALSE;
  // A short buffer is refused rather than filled in part: VerQueryValueW trusts the block's
  // own length field, which would then promise bytes the buffer does not hold.
  if (size < resource.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(data, resource.data(), resource.size());
  return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT size) {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // Only the root is looked up here; the string tables are never asked for.
  if (std::u16string_view(subBlock) != u"\\") {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return FALSE;
  }
  const auto* bytes = static_cast<const BYTE*>(block);
  const std::size_t length = static_cast<std::size_t>(bytes[0] | (bytes[1] << 8));
  const VS_FIXEDFILEINFO* info = core::FindFixedFileInfo(bytes, length);
  if (info == nullptr) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return FALSE;
  }
  *buffer = const_cast<VS_FIXEDFILEINFO*>(info);
  if (size != nullptr) *size = sizeof(VS_FIXEDFILEINFO);
  return TRUE;
}
