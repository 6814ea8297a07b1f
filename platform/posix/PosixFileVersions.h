// Version resources read from the PE file behind a platform path.
#pragma once

#include <memory>

#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"

namespace posix {

class PosixFileVersions : public core::FileVersionSource {
 public:
  explicit PosixFileVersions(std::shared_ptr<const core::PathMapping> mapping) : mapping_(std::move(mapping)) {}

  bool ReadVersionResource(std::u16string_view platformPath, std::vector<BYTE>& resource,
                           DWORD& error) const override;

 private:
  std::shared_ptr<const core::PathMapping> mapping_;
};

}  // namespace posix
