// Owns a text buffer that the platform allocated for the caller (FormatMessage's
// allocate-buffer form). The destructor frees it when the text is abandoned by an exception;
// the normal path frees it through Release, where a failed free can still be reported.
#pragma once

#include <windows.h>

#include "foundation/LibraryExceptions.h"

class LocalTextBuffer {
 public:
  explicit LocalTextBuffer(void* buffer) : buffer_(buffer) {}
  LocalTextBuffer(const LocalTextBuffer&) = delete;
  LocalTextBuffer& operator=(const LocalTextBuffer&) = delete;
  ~LocalTextBuffer() {
    if (buffer_ != nullptr) LocalFree(buffer_);
  }

  void Release() {
    void* buffer = buffer_;
    buffer_ = nullptr;
    if (LocalFree(buffer) != nullptr) throw LocalFreeFailed();
  }

 private:
  void* buffer_;
};
