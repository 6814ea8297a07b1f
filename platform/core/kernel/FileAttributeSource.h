// Where GetFileAttributesW gets its answers: a service that looks at the machine's files.
#pragma once

#include <memory>
#include <string_view>

#include "windef.h"

namespace core {

class FileAttributeSource {
 public:
  virtual ~FileAttributeSource() = default;
  // The attribute bits of the file or directory at a platform path, or INVALID_FILE_ATTRIBUTES
  // with `error` set to the platform's code for the failure.
  virtual DWORD Attributes(std::u16string_view platformPath, DWORD& error) const = 0;
};

// Without a source every path is reported missing.
void InstallFileAttributeSource(std::shared_ptr<const FileAttributeSource> source);

}  // namespace core
