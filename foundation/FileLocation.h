// A file or folder path in UTF-8, its separators ("\" or "/") as written, that can be
// extended by a name.
#pragma once

#include <array>
#include <memory>

#include "foundation/CopiedUString.h"

class FileName;

class FileLocation {
 public:
  // A record that travels with the location through copies and Append.
  using Extra = std::array<unsigned char, 64>;

  FileLocation() = default;
  // Drops one trailing "\" or "/" when the text is longer than one byte; nothing else changes.
  explicit FileLocation(UStringRef<UTF8> text);
  FileLocation(const FileLocation& other);
  FileLocation& operator=(const FileLocation& other);
  FileLocation(FileLocation&& other) noexcept = default;
  FileLocation& operator=(FileLocation&& other) noexcept = default;
  ~FileLocation() = default;

  const CopiedUString<UTF8>& Path() const { return path_; }

  // This location followed by one "\" and the name without its leading and trailing
  // separators. Raises EmptyFileLocationError when this location is empty.
  FileLocation Append(UStringRef<UTF8> name) const;
  FileLocation Append(const FileName& name) const;

  const Extra* ExtraRecord() const { return extra_.get(); }
  void SetExtraRecord(const Extra& extra) { extra_ = std::make_unique<Extra>(extra); }

 private:
  CopiedUString<UTF8> path_;
  std::unique_ptr<Extra> extra_;
};
