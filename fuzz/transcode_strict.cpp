// Strict transcoding against ICU's strict converters: for every input, both accept or both
// refuse, and what they accept they convert to the same units. The bytes are taken as UTF-8,
// and reinterpreted as UTF-16 (native byte order). Each direction also runs at offsets that
// move the text across the 8-byte words of the ASCII path and across the inline limit.
#include <unicode/ustring.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "foundation/CharacterSetResult.h"
#include "foundation/TextEncoding.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckUtf8(const char* bytes, std::size_t size) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strFromUTF8(nullptr, 0, &needed, bytes, static_cast<int32_t>(size), &status);
  const bool icuAccepts = status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
  std::u16string expected;
  if (icuAccepts && needed > 0) {
    expected.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strFromUTF8(expected.data(), needed, &needed, bytes, static_cast<int32_t>(size), &status);
    Require(U_SUCCESS(status));
  }
  try {
    const CopiedUString<UTF16> ours = TranscodeU8ToU16(UStringRef<UTF8>(bytes, size));
    Require(icuAccepts);
    Require(ours.view() == expected);
    Require(ours.IsInline() == (ours.size() <= 64));
    Require(ours.IsInline() || ours.Capacity() == ours.size());
  } catch (const WindowsCharacterSetResult& e) {
    Require(!icuAccepts);
    Require(e.Code() == ERROR_NO_UNICODE_TRANSLATION);
  }
}

void CheckUtf16(const char16_t* units, std::size_t size) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strToUTF8(nullptr, 0, &needed, units, static_cast<int32_t>(size), &status);
  const bool icuAccepts = status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
  std::string expected;
  if (icuAccepts && needed > 0) {
    expected.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    u_strToUTF8(expected.data(), needed, &needed, units, static_cast<int32_t>(size), &status);
    Require(U_SUCCESS(status));
  }
  try {
    const CopiedUString<UTF8> ours = TranscodeU16ToU8(UStringRef<UTF16>(units, size));
    Require(icuAccepts);
    Require(ours.view() == expected);
    Require(ours.IsInline() || ours.Capacity() == ours.size());
  } catch (const WindowsCharacterSetResult& e) {
    Require(!icuAccepts);
    Require(e.Code() == ERROR_NO_UNICODE_TRANSLATION);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Exactly sized copies, so that a read past the end is caught by the address sanitizer.
  std::vector<char> bytes(data, data + size);
  CheckUtf8(bytes.data(), bytes.size());

  std::vector<char16_t> units(size / 2);
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
  CheckUtf16(units.data(), units.size());

  // The same text after an ASCII prefix: it moves every sequence to another place in the
  // words of the ASCII path, and long enough ones past the inline limit.
  const std::size_t shift = size ? data[0] % 11 : 0;
  std::vector<char> shifted(shift, 'a');
  shifted.insert(shifted.end(), bytes.begin(), bytes.end());
  CheckUtf8(shifted.data(), shifted.size());
  std::vector<char16_t> shiftedUnits(shift, u'a');
  shiftedUnits.insert(shiftedUnits.end(), units.begin(), units.end());
  CheckUtf16(shiftedUnits.data(), shiftedUnits.size());
  return 0;
}
