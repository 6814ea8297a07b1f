// File attributes from stat() of the host file behind a platform path.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/PathMapping.h"

namespace posix {

class PosixFileAttributes : public core::FileAttributeSource {
 public:
  explicit PosixFileAttributes(std::shared_ptr<const core::PathMapping> mapping) : mapping_(std::move(mapping)) {}

  // A folder is FILE_ATTRIBUTE_DIRECTORY; a named pipe, device or socket
  // FILE_ATTRIBUTE_DEVICE; a file without its owner's write permission is
  // FILE_ATTRIBUTE_READONLY; any other file FILE_ATTRIBUTE_NORMAL. A path with a zero unit
  // inside is refused with ERROR_INVALID_NAME.
  DWORD Attributes(std::u16string_view platformPath, DWORD& error) const override;

 private:
  std::shared_ptr<const core::PathMapping> mapping_;
};

// The platform's code for a failed file system call's errno: ENOENT is ERROR_FILE_NOT_FOUND,
// ENOTDIR ERROR_PATH_NOT_FOUND, EACCES and EPERM ERROR_ACCESS_DENIED, ELOOP (a link that
// leads back to itself) ERROR_CANT_RESOLVE_FILENAME.
DWORD PlatformErrorOf(int posixError);

// The host file behind a platform path for the file services, or nothing with error set:
// ERROR_INVALID_NAME for a path with a zero unit inside (cut there, it would name another
// file), ERROR_PATH_NOT_FOUND when no drive stands behind it or there is no mapping.
std::optional<std::string> HostFileOf(const core::PathMapping* mapping, std::u16string_view platformPath,
                                      DWORD& error);

}  // namespace posix
