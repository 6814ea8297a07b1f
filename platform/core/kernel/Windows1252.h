// The windows-1252 code page, which stands for the system's ANSI code page here.
#pragma once

#include <cstdint>

namespace Windows1252 {

// Every byte has a character: the five bytes the code page leaves undefined (81, 8D, 8F, 90,
// 9D) map to the C1 controls of the same value, as the platform's own table does, so that
// they survive a round trip.
char16_t ToUnicode(unsigned char byte);

// The byte for a code point, or -1 when the code page has no such character.
int FromUnicode(std::uint32_t codePoint);

}  // namespace Windows1252
