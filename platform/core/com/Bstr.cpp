// BSTR: the units follow a 32-bit byte count and are followed by a zero unit, so that a BSTR
// reads as a zero-terminated text and still carries embedded zeros and its exact length.
#include "oleauto.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kPrefix = sizeof(DWORD);
constexpr std::size_t kTerminator = sizeof(OLECHAR);

DWORD* PrefixOf(BSTR bstr) { return reinterpret_cast<DWORD*>(reinterpret_cast<char*>(bstr) - kPrefix); }

// A block for byteLength bytes; the bytes are copied from source when it is given. Two zero
// bytes follow them (three when the count is odd, so that the terminator is a whole unit).
BSTR AllocateBytes(const void* source, std::size_t byteLength) {
  if (byteLength > std::numeric_limits<DWORD>::max() - kPrefix - kTerminator - 1) return nullptr;
  char* block = static_cast<char*>(std::malloc(kPrefix + byteLength + kTerminator + 1));
  if (block == nullptr) return nullptr;
  const DWORD prefix = static_cast<DWORD>(byteLength);
  std::memcpy(block, &prefix, kPrefix);
  char* data = block + kPrefix;
  if (source != nullptr) std::memcpy(data, source, byteLength);
  std::memset(data + byteLength, 0, kTerminator + 1);
  return reinterpret_cast<BSTR>(data);
}

std::size_t UnitsUpToZero(const OLECHAR* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  return AllocateBytes(text, UnitsUpToZero(text) * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > std::numeric_limits<DWORD>::max() / sizeof(OLECHAR)) return nullptr;
  return AllocateBytes(text, static_cast<std::size_t>(length) * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length) { return AllocateBytes(bytes, length); }

INT SysReAllocString(BSTR* bstr, const OLECHAR* text) {
  if (bstr == nullptr) return FALSE;
  BSTR copy = text != nullptr ? SysAllocString(text) : nullptr;
  if (text != nullptr && copy == nullptr) return FALSE;
  SysFreeString(*bstr);
  *bstr = copy;
  return TRUE;
}

INT SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length) {
  if (bstr == nullptr) return FALSE;
  BSTR copy = SysAllocStringLen(text, length);
  if (copy == nullptr) return FALSE;
  SysFreeString(*bstr);
  *bstr = copy;
  return TRUE;
}

void SysFreeString(BSTR bstr) {
  if (bstr != nullptr) std::free(PrefixOf(bstr));
}

UINT SysStringByteLen(BSTR bstr) {
  if (bstr == nullptr) return 0;
  DWORD prefix;
  std::memcpy(&prefix, PrefixOf(bstr), kPrefix);
  return prefix;
}

UINT SysStringLen(BSTR bstr) { return SysStringByteLen(bstr) / sizeof(OLECHAR); }
