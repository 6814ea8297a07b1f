#include "posix/PosixFileAttributes.h"

#include <sys/stat.h>

#include <cerrno>

#include "fileapi.h"
#include "winerror.h"

namespace posix {

DWORD PlatformErrorOf(int posixError) {
  switch (posixError) {
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    // The platform's answer for a name whose links lead back to themselves.
    case ELOOP:
      return ERROR_CANT_RESOLVE_FILENAME;
    case EACCES:
    case EPERM:
      return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

std::optional<std::string> HostFileOf(const core::PathMapping* mapping, std::u16string_view platformPath,
                                      DWORD& error) {
  if (platformPath.find(u'\0') != std::u16string_view::npos) {
    error = ERROR_INVALID_NAME;
    return std::nullopt;
  }
  std::optional<std::string> host = mapping != nullptr ? mapping->ToHostPath(platformPath) : std::nullopt;
  if (!host) error = ERROR_PATH_NOT_FOUND;
  return host;
}

DWORD PosixFileAttributes::Attributes(std::u16string_view platformPath, DWORD& error) const {
  const std::optional<std::string> host = HostFileOf(mapping_.get(), platformPath, error);
  if (!host) return INVALID_FILE_ATTRIBUTES;
  struct stat info {};
  if (::stat(host->c_str(), &info) != 0) {
    error = PlatformErrorOf(errno);
    // A missing folder on the way is a missing path, as the platform tells the two apart.
    if (error == ERROR_FILE_NOT_FOUND) {
      const std::size_t slash = host->find_last_of('/');
      struct stat parent {};
      if (slash != std::string::npos && slash > 0 && ::stat(host->substr(0, slash).c_str(), &parent) != 0) {
        error = ERROR_PATH_NOT_FOUND;
      }
    }
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  // A named pipe, device or socket is no file whose contents can be read to an end: the
  // platform marks such names as devices.
  if (!S_ISREG(info.st_mode)) return FILE_ATTRIBUTE_DEVICE;
  if ((info.st_mode & S_IWUSR) == 0) return FILE_ATTRIBUTE_READONLY;
  return FILE_ATTRIBUTE_NORMAL;
}

}  // namespace posix
