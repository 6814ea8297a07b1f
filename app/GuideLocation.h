// Which guide page the launcher shows: the evaluation or the normal guide below the install
// folder that the installation generator recorded in the machine's registry.
#pragma once

#include "foundation/CopiedUString.h"

// The page's full path in UTF-8. Raises Windows::Error, Windows::RegistryValueIsEmpty,
// Windows::WrongRegistryType or a text conversion error when a registry value is missing or
// unusable; InstallFolder is read before EvalType. Whether the page exists is not checked.
CopiedUString<UTF8> LocateGuidePage();
