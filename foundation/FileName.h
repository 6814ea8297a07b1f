// One validated path component: at most 256 bytes, none of the characters the platform
// refuses in a name, or empty.
#pragma once

#include "foundation/CopiedUString.h"

class FileName {
 public:
  FileName() = default;
  // An empty text or one longer than 256 bytes gives an empty name. "." and ".." raise
  // IllegalFileNameReserved; a quotation mark, * / : < > ? \ | or a byte from 0 to 31 raises
  // IllegalFileName.
  explicit FileName(UStringRef<UTF8> text);

  const CopiedUString<UTF8>& Text() const { return text_; }
  bool empty() const { return text_.empty(); }

 private:
  CopiedUString<UTF8> text_;
};
