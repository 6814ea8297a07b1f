// Wine's text form of a registry hive ("WINE REGISTRY Version 2"): key lines
// [Path\\To\\Key] stamp, value lines "Name"=... or @=... (the default value), ";;" comments
// and "#" option lines. Values: "text" (REG_SZ), str(N):"text", hex:bytes (REG_BINARY),
// hex(N):bytes with "\" line continuations, and dword:XXXXXXXX. Strings take \\ \" \n \r \t,
// octal \0.. and \x hex escapes; other bytes are UTF-8. String values are stored with their
// zero unit, as the registry keeps them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/registry/RegistryHive.h"

namespace posix {

// Parses a whole hive text; raises RegistryHiveError naming `fileName` and the line at the
// first thing it cannot read. Runs in time linear in the text.
std::shared_ptr<core::RegistryHive> ParseWineHive(std::string_view text, const std::string& fileName);

// The largest hive file that is read. A prefix's system.reg grows by some kilobytes with each
// installed program and rarely reaches 20 MiB; anything far beyond is not a hive.
inline constexpr std::uint64_t kLargestHive = std::uint64_t{128} << 20;

// Reads and parses a hive file; a file that cannot be read raises RegistryHiveError too: one
// that is missing, no regular file (a named pipe is not waited for) or larger than
// kLargestHive. The file is only read.
std::shared_ptr<core::RegistryHive> LoadWineHive(const std::string& path);

}  // namespace posix
