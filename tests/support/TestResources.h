// The test program's own resources: the launcher's dialog templates (131, the main window;
// 1033, the guide), its window icon (162) and its manifest (1), registered as the
// executable's, so that a test finds and loads them by name the way a program does.
#pragma once

#include <vector>

#include <windows.h>

#include "app/Resources.h"

inline BOOL RegisterTestResources() { return RegisterApplicationResources(); }

// The bytes of one of the executable's resources, read through the resource calls; empty
// when it has none of that name and type.
inline std::vector<BYTE> ResourceBytes(LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(nullptr, name, type);
  if (found == nullptr) return {};
  const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  return bytes != nullptr ? std::vector<BYTE>(bytes, bytes + SizeofResource(nullptr, found)) : std::vector<BYTE>();
}
