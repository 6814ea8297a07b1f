// Which guide page the launcher shows: the evaluation or the normal guide below the install
// folder that the installation generator recorded in the machine's registry.
#pragma once

#include <windows.h>

#include "WideText.h"
#include "foundation/CopiedUString.h"

// The generator's key below HKEY_LOCAL_MACHINE. The generator is a 32-bit program, so its
// key lives in the 32-bit view, named directly.
inline constexpr LPCWSTR kGeneratorKeyPath = WIDE("SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator");

// Which registry value a lookup is reading: after a failure, the value it could not read,
// and whether the generator's key itself could be opened for it, so that the user can be
// told what is missing.
struct GuideLookupProgress {
  LPCWSTR valueName = nullptr;
  bool keyOpened = false;
};

// The page's full path in UTF-8. Raises Windows::Error, Windows::RegistryValueIsEmpty,
// Windows::WrongRegistryType or a text conversion error when a registry value is missing or
// unusable; InstallFolder is read before EvalType. Whether the page exists is not checked.
CopiedUString<UTF8> LocateGuidePage();
CopiedUString<UTF8> LocateGuidePage(GuideLookupProgress& progress);
