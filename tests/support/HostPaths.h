// A path mapping for tests of file services: platform paths are host paths, both ways.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/kernel/PathMapping.h"

class HostPaths : public core::PathMapping {
 public:
  std::optional<std::string> ToHostPath(std::u16string_view path) const override {
    return std::string(path.begin(), path.end());
  }
  std::optional<std::u16string> ToPlatformPath(std::string_view path) const override {
    return std::u16string(path.begin(), path.end());
  }
};
