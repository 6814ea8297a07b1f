// The entry points that GetProcAddress finds. The platform's built-in modules load, but they
// export nothing unless an entry point was installed here, so callers that look up optional
// functions take their "missing" path; a test installs doubles to take the other.
#pragma once

#include <string_view>

#include "windef.h"

namespace core {

// Module names compare without regard to ASCII case; "kernel32" and "Kernel32.dll" are one.
// Installing a module's first entry point makes the module loadable if it was not.
void InstallEntryPoint(std::u16string_view module, std::string_view name, FARPROC entry);
void RemoveEntryPoint(std::u16string_view module, std::string_view name);

}  // namespace core
