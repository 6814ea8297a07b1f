#include "posix/RegularFileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace posix {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

RegularFileContents Failed(RegularFileContents::Status status, int error) {
  RegularFileContents contents;
  contents.status = status;
  contents.error = error;
  return contents;
}

RegularFileContents TooLarge(std::uint64_t size) {
  RegularFileContents contents;
  contents.status = RegularFileContents::Status::TooLarge;
  contents.size = size;
  return contents;
}

const char* KindOf(unsigned fileType) {
  switch (fileType) {
    case S_IFDIR: return "a folder";
    case S_IFIFO: return "a named pipe";
    case S_IFCHR: return "a character device";
    case S_IFBLK: return "a block device";
    case S_IFSOCK: return "a socket";
    default: return "no regular file";
  }
}

// "3 GiB", "200 MiB", "12 KiB" or "517 bytes": whole units, rounded down.
std::string SizeText(std::uint64_t size) {
  static const char* const kUnits[] = {"bytes", "KiB", "MiB", "GiB", "TiB"};
  std::size_t unit = 0;
  std::uint64_t amount = size;
  while (amount >= 1024 && unit + 1 < std::size(kUnits)) {
    amount /= 1024;
    ++unit;
  }
  return std::to_string(amount) + " " + kUnits[unit];
}

}  // namespace

RegularFileContents ReadRegularFile(const std::string& path, std::uint64_t limit) {
  // O_NONBLOCK: opening a named pipe for reading waits for a writer otherwise. It changes
  // nothing for a regular file, whose reads never block.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.Get() < 0) return Failed(RegularFileContents::Status::CannotOpen, errno);
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return Failed(RegularFileContents::Status::CannotRead, errno);
  if (!S_ISREG(info.st_mode)) {
    RegularFileContents contents = Failed(RegularFileContents::Status::NotRegular, 0);
    contents.fileType = info.st_mode & S_IFMT;
    return contents;
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > limit) return TooLarge(size);

  RegularFileContents contents;
  contents.bytes.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (true) {
    // One byte more than the bound is room enough to see that the file grew past it.
    if (done == contents.bytes.size()) {
      if (done > limit) return TooLarge(done);
      contents.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(limit + 1, done + 65536)));
    }
    const ssize_t got = ::read(fd.Get(), contents.bytes.data() + done, contents.bytes.size() - done);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return Failed(RegularFileContents::Status::CannotRead, errno);
    }
    done += static_cast<std::size_t>(got);
  }
  if (done > limit) return TooLarge(done);
  contents.bytes.resize(done);
  contents.size = done;
  contents.status = RegularFileContents::Status::Read;
  return contents;
}

std::string DescribeUnreadFile(const RegularFileContents& contents, std::uint64_t limit) {
  switch (contents.status) {
    case RegularFileContents::Status::Read:
      return "was read";
    case RegularFileContents::Status::CannotOpen:
    case RegularFileContents::Status::CannotRead:
      return std::string("cannot be read: ") + std::strerror(contents.error);
    case RegularFileContents::Status::NotRegular:
      return std::string("is ") + KindOf(contents.fileType) + ", not a regular file";
    case RegularFileContents::Status::TooLarge:
      return "is " + SizeText(contents.size) + " (" + std::to_string(contents.size) + " bytes); at most " +
             SizeText(limit) + " are read";
  }
  return "cannot be read";
}

}  // namespace posix
