#include "foundation/TextEncoding.h"

#include <algorithm>
#include <climits>

#include <windows.h>

#include "foundation/CharacterSetResult.h"
#include "foundation/WindowsError.h"

namespace {

constexpr const char* kU16ToU8 = "TranscodeU16ToU8";
constexpr const char* kU8ToU16 = "TranscodeU8ToU16";

// The platform calls count in int. A capacity beyond that is only partly usable; a longer
// input cannot be described to them at all and is refused rather than cut.
int CapacityArgument(std::size_t capacity) { return static_cast<int>(std::min<std::size_t>(capacity, INT_MAX)); }

bool LengthFits(std::size_t length) { return length <= static_cast<std::size_t>(INT_MAX); }

// The two calls of every conversion: the size, then the conversion into storage of exactly
// that size (inline up to 64 units). `convert(out, capacity)` returns the units written, or
// with a capacity of 0 the units needed, and raises on failure.
template <class E, class Convert>
CopiedUString<E> IntoExactStorage(Convert convert) {
  const std::size_t size = convert(nullptr, 0);
  auto out = CopiedUString<E>::WithCapacity(size);
  const std::size_t written = size == 0 ? 0 : convert(out.data(), out.Capacity());
  out.SetEnd(out.data() + written);
  return out;
}

}  // namespace

CopiedUString<UTF8> TranscodeU16ToU8(UStringRef<UTF16> text) {
  if (text.empty()) return {};
  if (!LengthFits(text.size())) throw WindowsCharacterSetResult(ERROR_INVALID_PARAMETER, kU16ToU8);
  const int length = static_cast<int>(text.size());
  return IntoExactStorage<UTF8>([&](char* out, std::size_t capacity) -> std::size_t {
    const int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, out,
                                      CapacityArgument(capacity), nullptr, nullptr);
    if (n == 0) throw WindowsCharacterSetResult(GetLastError(), kU16ToU8);
    return static_cast<std::size_t>(n);
  });
}

CopiedUString<UTF16> TranscodeU8ToU16(UStringRef<UTF8> text) {
  if (text.empty()) return {};
  if (!LengthFits(text.size())) throw WindowsCharacterSetResult(ERROR_INVALID_PARAMETER, kU8ToU16);
  const int length = static_cast<int>(text.size());
  return IntoExactStorage<UTF16>([&](WCHAR* out, std::size_t capacity) -> std::size_t {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out,
                                      CapacityArgument(capacity));
    if (n == 0) throw WindowsCharacterSetResult(GetLastError(), kU8ToU16);
    return static_cast<std::size_t>(n);
  });
}

std::size_t ToWide(unsigned codePage, unsigned long flags, const char* bytes, std::size_t length, WCHAR* out,
                   std::size_t outCapacity) {
  if (length == 0) return 0;
  if (!LengthFits(length)) throw Windows::Error(ERROR_INVALID_PARAMETER);
  const int n = MultiByteToWideChar(codePage, static_cast<DWORD>(flags), bytes, static_cast<int>(length),
                                    outCapacity ? out : nullptr, CapacityArgument(outCapacity));
  if (n == 0) throw Windows::Error(GetLastError());
  return static_cast<std::size_t>(n);
}

std::size_t ToNarrow(unsigned codePage, unsigned long flags, const WCHAR* units, std::size_t length, char* out,
                     std::size_t outCapacity) {
  if (length == 0) return 0;
  if (!LengthFits(length)) throw Windows::Error(ERROR_INVALID_PARAMETER);
  const int n = WideCharToMultiByte(codePage, static_cast<DWORD>(flags), units, static_cast<int>(length),
                                    outCapacity ? out : nullptr, CapacityArgument(outCapacity), nullptr, nullptr);
  if (n == 0) throw Windows::Error(GetLastError());
  return static_cast<std::size_t>(n);
}

namespace {

CopiedUString<UTF8> Narrowed(unsigned codePage, UStringRef<UTF16> text) {
  return IntoExactStorage<UTF8>([&](char* out, std::size_t capacity) {
    return ToNarrow(codePage, 0, text.data(), text.size(), out, capacity);
  });
}

CopiedUString<UTF16> Widened(unsigned codePage, UStringRef<UTF8> bytes) {
  return IntoExactStorage<UTF16>([&](WCHAR* out, std::size_t capacity) {
    return ToWide(codePage, 0, bytes.data(), bytes.size(), out, capacity);
  });
}

}  // namespace

CopiedUString<UTF8> ConvertU16ToU8Lenient(UStringRef<UTF16> text) { return Narrowed(CP_UTF8, text); }
CopiedUString<UTF16> ConvertU8ToU16Lenient(UStringRef<UTF8> text) { return Widened(CP_UTF8, text); }
CopiedUString<UTF8> ConvertU16ToACP(UStringRef<UTF16> text) { return Narrowed(CP_ACP, text); }
CopiedUString<UTF16> ConvertACPToU16(UStringRef<UTF8> bytes) { return Widened(CP_ACP, bytes); }

// Room for the zero unit behind the text is used where there is some; only a full buffer
// (which holds at least 64 units) makes a new one of length + 1.
TerminatedU16 MakeTerminatedU16(CopiedUString<UTF16>&& text) {
  const WCHAR zero = 0;
  if (text.Capacity() > text.size()) {
    CopiedUString<UTF16> units(std::move(text));
    units.Append(zero);
    return TerminatedU16(std::move(units));
  }
  auto units = CopiedUString<UTF16>::WithCapacity(std::max<std::size_t>(text.size() + 1, CopiedUString<UTF16>::kInlineUnits));
  units.Append(text.Ref());
  units.Append(zero);
  text = CopiedUString<UTF16>();
  return TerminatedU16(std::move(units));
}

namespace {

template <class E>
CopiedUString<E> Concatenated(UStringRef<E> a, UStringRef<E> b) {
  auto out = CopiedUString<E>::WithCapacity(a.size() + b.size());
  out.Append(a);
  out.Append(b);
  return out;
}

}  // namespace

CopiedUString<UTF8> ConcatenateText(UStringRef<UTF8> a, UStringRef<UTF8> b) { return Concatenated(a, b); }
CopiedUString<UTF16> ConcatenateText(UStringRef<UTF16> a, UStringRef<UTF16> b) { return Concatenated(a, b); }
