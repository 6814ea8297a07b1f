#include "app/RegistryReading.h"

#include <vector>

#include "foundation/LibraryExceptions.h"
#include "foundation/WindowsError.h"

RegistryKey OpenRegistryKey(HKEY root, LPCWSTR path, REGSAM access) {
  HKEY opened = nullptr;
  RaiseWindowsError(static_cast<std::uint32_t>(RegOpenKeyExW(root, path, 0, access, &opened)));
  return RegistryKey(opened);
}

RegistryValueInfo QueryRegistryValue(HKEY key, LPCWSTR name, void* buffer, std::uint32_t capacity) {
  DWORD type = 0;
  DWORD size = capacity;
  RaiseWindowsError(static_cast<std::uint32_t>(
      RegQueryValueExW(key, name, nullptr, &type, static_cast<LPBYTE>(buffer), &size)));
  return RegistryValueInfo{type, size};
}

std::u16string ReadRegistryString(HKEY key, LPCWSTR name) {
  const std::uint32_t firstSize = QueryRegistryValue(key, name, nullptr, 0).size;
  // An odd byte count gets one unit more, so that its last byte is kept in a half-filled unit.
  const std::size_t units = (static_cast<std::size_t>(firstSize) + 1) / 2;
  std::vector<char16_t> buffer(units, u'\0');
  const RegistryValueInfo read = QueryRegistryValue(key, name, units != 0 ? buffer.data() : nullptr,
                                                    static_cast<std::uint32_t>(units * sizeof(char16_t)));
  // Emptiness is tested first: a value without bytes reports empty whatever its type.
  if (read.size == 0) throw Windows::RegistryValueIsEmpty();
  if (read.type != REG_SZ) throw Windows::WrongRegistryType();
  std::u16string text(buffer.data(), units);
  const std::size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return text;
}
