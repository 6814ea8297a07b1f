// Conversions between UTF-8, UTF-16 and the system's ANSI code page, and text concatenation.
// Strict conversions refuse malformed input as a whole; lenient ones replace what they cannot
// represent and serve diagnostics.
#pragma once

#include <cstddef>
#include <utility>

#include "WideText.h"
#include "foundation/CopiedUString.h"

// Strict: malformed input raises WindowsCharacterSetResult naming the operation.
CopiedUString<UTF8> TranscodeU16ToU8(UStringRef<UTF16> text);
CopiedUString<UTF16> TranscodeU8ToU16(UStringRef<UTF8> text);

// Lenient: only a failure of the platform call itself raises Windows::Error.
CopiedUString<UTF8> ConvertU16ToU8Lenient(UStringRef<UTF16> text);
CopiedUString<UTF16> ConvertU8ToU16Lenient(UStringRef<UTF8> text);
CopiedUString<UTF8> ConvertU16ToACP(UStringRef<UTF16> text);
CopiedUString<UTF16> ConvertACPToU16(UStringRef<UTF8> bytes);

// Primitives of the lenient conversions over MultiByteToWideChar / WideCharToMultiByte: the
// number of units written, or with an output capacity of 0 the number needed. A zero length
// returns 0 without a platform call; a failed platform call raises Windows::Error.
std::size_t ToWide(unsigned codePage, unsigned long flags, const char* bytes, std::size_t length,
                   WCHAR* out, std::size_t outCapacity);
std::size_t ToNarrow(unsigned codePage, unsigned long flags, const WCHAR* units, std::size_t length,
                     char* out, std::size_t outCapacity);

// Zero-terminated wide text for platform calls. The zero unit is kept as the last unit of the
// owned string, so moving the text (inline units included) moves the terminator with it.
class TerminatedU16 {
 public:
  TerminatedU16() = default;
  // `units` holds the text followed by exactly one zero unit.
  explicit TerminatedU16(CopiedUString<UTF16>&& units) : units_(std::move(units)) {}
  const WCHAR* c_str() const { return units_.empty() ? WIDE("") : units_.data(); }
  // Units of text, the terminator not counted.
  std::size_t size() const { return units_.empty() ? 0 : units_.size() - 1; }
  std::size_t Capacity() const { return units_.Capacity(); }
  bool IsInline() const { return units_.IsInline(); }

 private:
  CopiedUString<UTF16> units_;
};

TerminatedU16 MakeTerminatedU16(CopiedUString<UTF16>&& text);

CopiedUString<UTF8> ConcatenateText(UStringRef<UTF8> a, UStringRef<UTF8> b);
CopiedUString<UTF16> ConcatenateText(UStringRef<UTF16> a, UStringRef<UTF16> b);
