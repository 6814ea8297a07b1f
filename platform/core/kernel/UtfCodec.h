// UTF-8 <-> UTF-16 conversion, strict or lenient, with a word-at-a-time path for ASCII runs.
//
// Strict conversion stops at the first ill-formed input: in UTF-8 an invalid lead byte, a
// missing or out-of-range continuation byte (overlong forms, encoded surrogates and values
// beyond U+10FFFF all show up as one) or a sequence cut off by the end of the input; in UTF-16
// an unpaired surrogate. Lenient conversion writes U+FFFD instead, once for each maximal
// ill-formed subpart (the longest prefix of a well-formed sequence, or else one byte), which
// is how ICU and the W3C encoding rules replace.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Utf {

enum class Status {
  Ok,
  IllFormed,  // strict only: the input is not well-formed
  Overflow,   // the output did not fit into the capacity
};

struct Outcome {
  Status status;
  // Units written (or, with no output, needed) up to where the conversion stopped.
  std::size_t units;
};

// With a null output the conversion only counts and the capacity is ignored.
Outcome Utf8ToUtf16(const char* in, std::size_t length, char16_t* out, std::size_t capacity, bool strict);
Outcome Utf16ToUtf8(const char16_t* in, std::size_t length, char* out, std::size_t capacity, bool strict);

// Whole texts: the strict ones give nothing for a text that is not well-formed.
std::optional<std::string> StrictUtf8(std::u16string_view text);
std::optional<std::u16string> StrictUtf16(std::string_view text);
std::string LenientUtf8(std::u16string_view text);
std::u16string LenientUtf16(std::string_view text);

}  // namespace Utf
