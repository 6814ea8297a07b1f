// Loading modules and finding their entry points.
#pragma once

#include "windef.h"

// Modules are the platform's own built-in ones; an entry point exists only when core provides
// it (or a test installed it), so a lookup of anything else fails with ERROR_PROC_NOT_FOUND.
HMODULE LoadLibraryW(LPCWSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);
