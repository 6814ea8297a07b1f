// Whether the Windows build runs under Wine, which implements the API but is not Windows:
// where the two differ, a test says which one it pins.
#pragma once

#include <windows.h>

inline bool UnderWine() {
#ifdef _WIN32
  // Wine's ntdll exports its version; Windows' has no such entry.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}
