// A hive that cannot be read or parsed. The text names the file and, for a parse error, the
// line: "/home/u/.wine/system.reg:12: unterminated string".
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace posix {

class RegistryHiveError : public std::runtime_error {
 public:
  // Line 0 stands for a failure that concerns the whole file; `missing` for one that does
  // not exist.
  RegistryHiveError(const std::string& file, std::size_t line, const std::string& reason, bool missing = false);

  const std::string& File() const { return file_; }
  std::size_t Line() const { return line_; }
  bool Missing() const { return missing_; }

 private:
  std::string file_;
  std::size_t line_;
  bool missing_;
};

}  // namespace posix
