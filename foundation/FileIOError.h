// A failed file operation: the platform status (0 for none) and up to two paths. The message
// is composed anew on each request and never throws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/CopiedUString.h"
#include "foundation/DebuggableException.h"

class FileIOError : public DebuggableException {
 public:
  explicit FileIOError(std::int32_t code);
  FileIOError(std::int32_t code, UStringRef<UTF8> path, UStringRef<UTF8> otherPath = {});
  // Copies the code and the paths; the messages are composed again on request.
  FileIOError(const FileIOError& other);
  FileIOError& operator=(const FileIOError& other);
  ~FileIOError() override;

  const char* what() const noexcept override;
  UStringRef<UTF8> MessageUtf8() const override;

  std::int32_t Code() const { return record_->code; }
  UStringRef<UTF8> Path() const { return record_->path.Ref(); }
  UStringRef<UTF8> OtherPath() const { return record_->otherPath.Ref(); }

 private:
  struct Record {
    std::int32_t code = 0;
    CopiedUString<UTF8> path;
    CopiedUString<UTF8> otherPath;
    CopiedUString<UTF8> messageUtf8;
    std::string narrowMessage;
  };

  // Composes the message into the record; false when any step failed.
  bool Compose() const noexcept;

  std::unique_ptr<Record> record_;
};

// Raised when a name is appended to an empty location.
class EmptyFileLocationError : public FileIOError {
 public:
  EmptyFileLocationError() : FileIOError(0) {}
};
