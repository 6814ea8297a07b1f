// How platform paths ("C:\dir\file") and the host's paths ("/home/u/.wine/drive_c/dir/file")
// correspond. Core only carries the service; the machine's services install it, and the
// services that touch files ask it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace core {

class PathMapping {
 public:
  virtual ~PathMapping() = default;
  // The host path (UTF-8) behind a platform path, or nothing when no drive stands behind it.
  virtual std::optional<std::string> ToHostPath(std::u16string_view platformPath) const = 0;
  // The platform path of a host path, under the drive whose target is its longest prefix,
  // or nothing when no drive covers it.
  virtual std::optional<std::u16string> ToPlatformPath(std::string_view hostPath) const = 0;
};

// Null removes the mapping: then no platform path reaches a file.
void InstallPathMapping(std::shared_ptr<const PathMapping> mapping);
std::shared_ptr<const PathMapping> CurrentPathMapping();

}  // namespace core
