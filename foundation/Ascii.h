// ASCII-only case rules: A-Z and a-z are the only letters that have a case here, so bytes
// 0x80-0xFF (parts of UTF-8 sequences) always compare exactly.
#pragma once

#include "foundation/UStringRef.h"

namespace Ascii {

// Indexed by a byte value. kLowering maps A-Z to a-z, kRaising a-z to A-Z; every other byte
// maps to itself.
extern const unsigned char kLowering[256];
extern const unsigned char kRaising[256];

inline char ToLower(char c) { return static_cast<char>(kLowering[static_cast<unsigned char>(c)]); }
inline char ToUpper(char c) { return static_cast<char>(kRaising[static_cast<unsigned char>(c)]); }

bool EqualsIgnoringCase(UStringRef<UTF8> a, UStringRef<UTF8> b);
bool StartsWithIgnoringCase(UStringRef<UTF8> text, UStringRef<UTF8> prefix);

}  // namespace Ascii
