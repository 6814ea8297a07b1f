// The raising registry reads of the guide lookup: each failure leaves as an exception, and
// every key is held by an owner that closes it.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

#include "WideText.h"
#include "foundation/RegistryKey.h"

struct RegistryValueInfo {
  std::uint32_t type;
  std::uint32_t size;  // in bytes
};

// RegOpenKeyExW(root, path, 0, access); a nonzero status raises Windows::Error.
RegistryKey OpenRegistryKey(HKEY root, LPCWSTR path, REGSAM access);

// RegQueryValueExW into `buffer` with `capacity` bytes (no buffer for a size query); the
// type and size as the platform reports them. A nonzero status raises Windows::Error.
RegistryValueInfo QueryRegistryValue(HKEY key, LPCWSTR name, void* buffer, std::uint32_t capacity);

// A REG_SZ value's text, cut at its first zero unit. Raises Windows::Error when the value
// cannot be read, Windows::RegistryValueIsEmpty for a value of no bytes (whatever its type)
// and Windows::WrongRegistryType for a value that is not REG_SZ.
WString ReadRegistryString(HKEY key, LPCWSTR name);
