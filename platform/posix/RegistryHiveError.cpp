#include "posix/RegistryHiveError.h"

namespace posix {

namespace {
std::string Describe(const std::string& file, std::size_t line, const std::string& reason) {
  return line == 0 ? file + ": " + reason : file + ":" + std::to_string(line) + ": " + reason;
}
}  // namespace

RegistryHiveError::RegistryHiveError(const std::string& file, std::size_t line, const std::string& reason,
                                     bool missing)
    : std::runtime_error(Describe(file, line, reason)), file_(file), line_(line), missing_(missing) {}

}  // namespace posix
