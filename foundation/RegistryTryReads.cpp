#include "foundation/RegistryTryReads.h"

#include <vector>

#include <windows.h>
#include <winerror.h>

#include "WideText.h"

LSTATUS TryOpenRegistryKey(HKEY root, LPCWSTR path, RegistryKey& key, REGSAM access) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(root, path, 0, access, &opened);
  if (status == ERROR_SUCCESS) key.Reset(opened);
  return status;
}

LSTATUS TryReadRegistryString(HKEY key, LPCWSTR name, WString& text) {
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return status;

  // An odd byte count gets one unit more, so that no byte is lost.
  const std::size_t units = (static_cast<std::size_t>(size) + 1) / 2;
  std::vector<WCHAR> buffer(units, WIDE('\0'));
  DWORD capacity = static_cast<DWORD>(units * sizeof(WCHAR));
  status = RegQueryValueExW(key, name, nullptr, &type, units != 0 ? reinterpret_cast<LPBYTE>(buffer.data()) : nullptr,
                            &capacity);
  if (status == ERROR_SUCCESS && type == REG_SZ) {
    WString value(buffer.data(), units);
    const std::size_t zero = value.find(WIDE('\0'));
    if (zero != WString::npos) value.resize(zero);
    text = std::move(value);
  }
  return status;
}
