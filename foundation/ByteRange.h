// Views of caller-owned bytes as a begin and an end pointer. Operations that consume or
// produce take a range by reference and move its begin past what they used, so the caller
// sees at once what is left.
#pragma once

#include <cstddef>

#include "foundation/UStringRef.h"

template <class Byte>
struct BasicByteRange {
  Byte* begin = nullptr;
  Byte* end = nullptr;

  constexpr BasicByteRange() = default;
  constexpr BasicByteRange(Byte* first, Byte* last) : begin(first), end(last) {}
  constexpr BasicByteRange(Byte* first, std::size_t length) : begin(first), end(first + length) {}

  // A begin at or beyond the end is an empty range, never a negative size.
  constexpr std::size_t size() const { return end > begin ? static_cast<std::size_t>(end - begin) : 0; }
  constexpr bool empty() const { return !(end > begin); }
};

// Bytes the callee may only read.
struct ConstByteRange : BasicByteRange<const unsigned char> {
  using BasicByteRange::BasicByteRange;
  constexpr ConstByteRange() = default;
  // Every writable range is also readable.
  constexpr ConstByteRange(BasicByteRange<unsigned char> bytes) : BasicByteRange(bytes.begin, bytes.end) {}
};

// Bytes the callee may write.
struct ByteRange : BasicByteRange<unsigned char> {
  using BasicByteRange::BasicByteRange;
  constexpr ByteRange() = default;
};

// The code units of a UTF-8 text as bytes.
inline ConstByteRange BytesOf(UStringRef<UTF8> text) {
  const auto* first = reinterpret_cast<const unsigned char*>(text.begin());
  return ConstByteRange(first, first + text.size());
}

// Bytes as UTF-8 text; the bytes are taken as they are.
inline UStringRef<UTF8> TextOf(ConstByteRange bytes) {
  const auto* first = reinterpret_cast<const char*>(bytes.begin);
  return UStringRef<UTF8>(first, first + bytes.size());
}
