// Paths the way a Wine prefix maps them. A drive letter goes through the prefix's
// dosdevices/x: link (C: defaults to drive_c and Z: to / when their link is missing), "\"
// becomes "/", and a path that starts with "/" is a host path already. Back the other way,
// a host path falls under the drive whose target is its longest prefix.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/kernel/PathMapping.h"

namespace posix {

class WinePrefixPaths : public core::PathMapping {
 public:
  // Reads the drive links once, now; the prefix is only read. A relative prefix is taken
  // against the working folder.
  explicit WinePrefixPaths(std::string prefix);

  std::optional<std::string> ToHostPath(std::u16string_view platformPath) const override;
  std::optional<std::u16string> ToPlatformPath(std::string_view hostPath) const override;

  // The drive's target folder, without a trailing "/" unless it is "/".
  std::optional<std::string> DriveTarget(char16_t letter) const;

 private:
  struct Drive {
    char letter;                  // lower case
    std::string target;           // absolute and normalised
    std::string resolvedTarget;   // the same with its links resolved, when it exists
  };

  std::string prefix_;
  std::vector<Drive> drives_;
};

// `$WINEPREFIX` when set and not empty (made absolute against the working folder), else
// `~/.wine`.
std::string DefaultWinePrefix();

// The path itself when it starts with "/", else the working folder joined with it; normalised.
// Nothing when the path is relative and the working folder is not known.
std::optional<std::string> AbsolutePosixPath(std::string_view path);

// Removes "." and empty components and resolves ".." lexically; keeps a leading "/".
std::string NormalisePosixPath(std::string_view path);

}  // namespace posix
