#include "app/RegistryReading.h"

#include <vector>

#include "WideText.h"
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

WString ReadRegistryString(HKEY key, LPCWSTR name) {
  const std::uint32_t firstSize = QueryRegistryValue(key, name, nullptr, 0).size;
  // An odd byte count gets one unit more, so that its last byte is kept in a half-filled unit.
  const std::size_t units = (static_cast<std::size_t>(firstSize) + 1) / 2;
  std::vector<WCHAR> buffer(units, WIDE('\0'));
  const RegistryValueInfo read = QueryRegistryValue(key, name, units != 0 ? buffer.data() : nullptr,
                                                    static_cast<std::uint32_t>(units * sizeof(WCHAR)));
  // Emptiness is tested first: a value without bytes reports empty whatever its type.
  if (read.size == 0) throw Windows::RegistryValueIsEmpty();
  if (read.type != REG_SZ) throw Windows::WrongRegistryType();
  WString text(buffer.data(), units);
  const std::size_t zero = text.find(WIDE('\0'));
  if (zero != WString::npos) text.resize(zero);
  return text;
}
