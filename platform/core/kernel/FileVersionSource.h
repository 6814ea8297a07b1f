// Where the file version calls get a file's version resource: a service that reads the
// machine's executable files.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "windef.h"

namespace core {

class FileVersionSource {
 public:
  virtual ~FileVersionSource() = default;
  // The bytes of the file's version resource (a VS_VERSIONINFO block) into `resource`, or
  // false with `error` set to the platform's code for the failure.
  virtual bool ReadVersionResource(std::u16string_view platformPath, std::vector<BYTE>& resource,
                                   DWORD& error) const = 0;
};

// Without a source no file has version information.
void InstallFileVersionSource(std::shared_ptr<const FileVersionSource> source);

}  // namespace core
