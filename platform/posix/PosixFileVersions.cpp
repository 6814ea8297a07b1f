#include "posix/PosixFileVersions.h"

#include <cstdint>
#include <string>
#include <utility>

#include "posix/PeVersionResource.h"
#include "posix/PosixFileAttributes.h"
#include "posix/RegularFileContents.h"
#include "winerror.h"

namespace posix {

namespace {

// The platform reads version resources of executables, which stay far below this; a larger
// file is not read into memory.
constexpr std::uint64_t kLargestExecutable = std::uint64_t{512} << 20;

// The whole file; the reader needs random access.
bool ReadFile(const std::string& path, std::string& bytes, DWORD& error) {
  RegularFileContents file = ReadRegularFile(path, kLargestExecutable);
  switch (file.status) {
    case RegularFileContents::Status::Read:
      bytes = std::move(file.bytes);
      return true;
    case RegularFileContents::Status::CannotOpen:
    case RegularFileContents::Status::CannotRead:
      error = PlatformErrorOf(file.error);
      return false;
    case RegularFileContents::Status::NotRegular:
      // What the platform answers for a folder or a device given as a file.
      error = ERROR_ACCESS_DENIED;
      return false;
    case RegularFileContents::Status::TooLarge:
      error = ERROR_FILE_TOO_LARGE;
      return false;
  }
  return false;
}

}  // namespace

bool PosixFileVersions::ReadVersionResource(std::u16string_view platformPath, std::vector<BYTE>& resource,
                                            DWORD& error) const {
  const std::optional<std::string> host = HostFileOf(mapping_.get(), platformPath, error);
  if (!host) return false;
  std::string file;
  if (!ReadFile(*host, file, error)) return false;
  return FindPeVersionResource(reinterpret_cast<const BYTE*>(file.data()), file.size(), resource, error);
}

}  // namespace posix
