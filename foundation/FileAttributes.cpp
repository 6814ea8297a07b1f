#include "foundation/FileAttributes.h"

#include <windows.h>

#include "foundation/PlatformPath.h"

std::uint32_t FileAttributes(const FileLocation& location) {
  if (location.Path().empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(ToPlatformPath(location.Path(), 259).c_str());
}
