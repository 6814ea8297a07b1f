#include "posix/PosixFileVersions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "posix/PeVersionResource.h"
#include "posix/PosixFileAttributes.h"
#include "winerror.h"

namespace posix {

namespace {

// The whole file; executables are small enough, and the reader needs random access.
bool ReadFile(const std::string& path, std::vector<BYTE>& bytes, DWORD& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = PlatformErrorOf(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? ERROR_ACCESS_DENIED : PlatformErrorOf(errno);
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  bytes.resize(done);
  return true;
}

}  // namespace

bool PosixFileVersions::ReadVersionResource(std::u16string_view platformPath, std::vector<BYTE>& resource,
                                            DWORD& error) const {
  if (platformPath.find(u'\0') != std::u16string_view::npos) {
    error = ERROR_INVALID_NAME;
    return false;
  }
  std::optional<std::string> host = mapping_ ? mapping_->ToHostPath(platformPath) : std::nullopt;
  if (!host) {
    error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  std::vector<BYTE> file;
  if (!ReadFile(*host, file, error)) return false;
  return FindPeVersionResource(file.data(), file.size(), resource, error);
}

}  // namespace posix
