// Reading a file whose contents the platform parses (a registry hive, a program's version
// resource, a profile). Only a regular file is read, and only up to a bound: a named pipe, a
// device such as /dev/zero or a file that keeps growing would otherwise block the caller or
// exhaust memory.
#pragma once

#include <cstdint>
#include <string>

namespace posix {

struct RegularFileContents {
  enum class Status {
    Read,
    CannotOpen,  // `error` is the errno of open()
    NotRegular,  // a folder, a named pipe, a device or a socket
    TooLarge,    // `size` is more than the bound
    CannotRead,  // `error` is the errno of read()
  };

  Status status = Status::CannotOpen;
  int error = 0;
  std::uint64_t size = 0;  // the file's size as far as it is known
  unsigned fileType = 0;   // NotRegular: the S_IFMT bits of the file's mode
  std::string bytes;       // Read: the whole file
};

// Opens `path` without blocking (a pipe without a writer does not hold the caller), and reads
// it whole when it is a regular file of at most `limit` bytes. A file that grows past the
// bound while it is read is TooLarge as well.
RegularFileContents ReadRegularFile(const std::string& path, std::uint64_t limit);

// Why the file was not read, completing "<path> ...": "is a named pipe, not a regular
// file", "is 3 GiB (3221225472 bytes); at most 128 MiB are read", "cannot be read: ...".
// `limit` is the bound the read was given.
std::string DescribeUnreadFile(const RegularFileContents& contents, std::uint64_t limit);

}  // namespace posix
