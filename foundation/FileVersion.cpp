#include "foundation/FileVersion.h"

#include <cstring>
#include <vector>

#include <windows.h>

#include "WideText.h"
#include "foundation/PlatformPath.h"
#include "foundation/Wow64RedirectionGuard.h"

namespace {

std::unique_ptr<VS_FIXEDFILEINFO> Read(const FileLocation& location, bool switchOffRedirection) {
  const TerminatedU16 path = ToPlatformPath(location.Path(), 259);
  std::vector<BYTE> block;
  bool read = false;
  {
    Wow64RedirectionGuard guard(switchOffRedirection);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeExW(FILE_VER_GET_NEUTRAL, path.c_str(), &handle);
    if (size != 0) {
      block.resize(size);
      read = GetFileVersionInfoExW(FILE_VER_GET_NEUTRAL, path.c_str(), 0, size, block.data()) != FALSE;
    }
  }
  if (!read) return nullptr;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), WIDE("\\"), &value, &length) || value == nullptr ||
      length != sizeof(VS_FIXEDFILEINFO)) {
    return nullptr;
  }
  auto info = std::make_unique<VS_FIXEDFILEINFO>();
  std::memcpy(info.get(), value, sizeof(VS_FIXEDFILEINFO));
  return info;
}

}  // namespace

std::unique_ptr<VS_FIXEDFILEINFO> ReadFileVersion(const FileLocation& location, bool switchOffRedirection) {
  try {
    return Read(location, switchOffRedirection);
  } catch (...) {
    return nullptr;
  }
}
