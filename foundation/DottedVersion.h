// A version of up to four components, each an unsigned 32-bit number, and how many of them
// were given. 0.0.0.0 with a count of 4 stands for no version at all.
#pragma once

#include <cstdint>

struct DottedVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t revision = 0;
  std::uint32_t count = 4;

  friend bool operator==(const DottedVersion&, const DottedVersion&) = default;
};
