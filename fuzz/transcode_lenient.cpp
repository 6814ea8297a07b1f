// Lenient conversions never fail and always give well-formed text; the UTF-8 and UTF-16 ones
// replace exactly as ICU does with U+FFFD as substitute (one per maximal ill-formed subpart).
// The ANSI code page keeps every byte: bytes to UTF-16 and back give the bytes again.
#include <unicode/ustring.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/TextEncoding.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool WellFormedUtf16(const CopiedUString<UTF16>& s) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strToUTF8(nullptr, 0, &needed, s.data(), static_cast<int32_t>(s.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

bool WellFormedUtf8(const CopiedUString<UTF8>& s) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strFromUTF8(nullptr, 0, &needed, s.data(), static_cast<int32_t>(s.size()), &status);
  return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

void CheckUtf8(const char* bytes, std::size_t size) {
  const CopiedUString<UTF16> ours = ConvertU8ToU16Lenient(UStringRef<UTF8>(bytes, size));
  Require(WellFormedUtf16(ours));
  std::u16string icu(size, u'\0');  // never more units than bytes
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8WithSub(icu.data(), static_cast<int32_t>(icu.size()), &length, bytes, static_cast<int32_t>(size),
                       0xFFFD, nullptr, &status);
  Require(U_SUCCESS(status));
  icu.resize(static_cast<std::size_t>(length));
  Require(ours.view() == icu);
}

void CheckUtf16(const char16_t* units, std::size_t size) {
  const CopiedUString<UTF8> ours = ConvertU16ToU8Lenient(UStringRef<UTF16>(units, size));
  Require(WellFormedUtf8(ours));
  std::string icu(3 * size, '\0');  // never more than three bytes per unit
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8WithSub(icu.data(), static_cast<int32_t>(icu.size()), &length, units, static_cast<int32_t>(size), 0xFFFD,
                     nullptr, &status);
  Require(U_SUCCESS(status));
  icu.resize(static_cast<std::size_t>(length));
  Require(ours.view() == icu);

  // Every unit becomes one byte, or with a surrogate pair one byte for both.
  const CopiedUString<UTF8> ansi = ConvertU16ToACP(UStringRef<UTF16>(units, size));
  Require(ansi.size() <= size);
}

void CheckAnsi(const char* bytes, std::size_t size) {
  const CopiedUString<UTF16> wide = ConvertACPToU16(UStringRef<UTF8>(bytes, size));
  Require(wide.size() == size);
  const CopiedUString<UTF8> back = ConvertU16ToACP(wide);
  Require(back.view() == std::string_view(bytes, size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<char> bytes(data, data + size);
  CheckUtf8(bytes.data(), bytes.size());
  CheckAnsi(bytes.data(), bytes.size());
  std::vector<char16_t> units(size / 2);
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
  CheckUtf16(units.data(), units.size());
  return 0;
}
