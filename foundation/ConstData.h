// A fixed-capacity text buffer: up to N bytes of text followed by two zero bytes, so the
// text is always a C string (and a zero-terminated UTF-16 reader never runs off the end).
#pragma once

#include <cstddef>
#include <cstring>

#include "foundation/LibraryExceptions.h"
#include "foundation/UStringRef.h"

template <std::size_t N>
class ConstData {
 public:
  static constexpr std::size_t kCapacity = N;

  ConstData() = default;

  // Throws ConstDataCapacityExceeded, leaving the text as it was, when the text would not fit.
  void Append(UStringRef<UTF8> text) {
    if (text.size() > N - length_) throw ConstDataCapacityExceeded();
    std::memcpy(text_ + length_, text.begin(), text.size());
    length_ += text.size();
    text_[length_] = '\0';
  }

  void Append(char byte) { Append(UStringRef<UTF8>(&byte, 1)); }

  const char* begin() const { return text_; }
  const char* end() const { return text_ + length_; }
  const char* data() const { return text_; }
  const char* c_str() const { return text_; }
  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }
  UStringRef<UTF8> Ref() const { return UStringRef<UTF8>(text_, length_); }
  operator UStringRef<UTF8>() const { return Ref(); }

 private:
  std::size_t length_ = 0;
  char text_[N + 2] = {};
};
