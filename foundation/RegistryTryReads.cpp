#include "foundation/RegistryTryReads.h"

#include <vector>

#include <winerror.h>

LSTATUS TryOpenRegistryKey(HKEY root, LPCWSTR path, RegistryKey& key, REGSAM access) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(root, path, 0, access, &opened);
  if (status == ERROR_SUCCESS) key.Reset(opened);
  return status;
}

LSTATUS TryReadRegistryString(HKEY key, LPCWSTR name, std::u16string& text) {
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return status;

  // An odd byte count gets one unit more, so that no byte is lost.
  const std::size_t units = (static_cast<std::size_t>(size) + 1) / 2;
  std::vector<char16_t> buffer(units, u'\0');
  DWORD capacity = static_cast<DWORD>(units * sizeof(char16_t));
  status = RegQueryValueExW(key, name, nullptr, &type, units != 0 ? reinterpret_cast<LPBYTE>(buffer.data()) : nullptr,
                            &capacity);
  if (status == ERROR_SUCCESS && type == REG_SZ) {
    std::u16string value(buffer.data(), units);
    const std::size_t zero = value.find(u'\0');
    if (zero != std::u16string::npos) value.resize(zero);
    text = std::move(value);
  }
  return status;
}
