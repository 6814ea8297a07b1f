// Loading modules and finding their entry points.
#pragma once

#include "windef.h"

// Modules are the platform's own built-in ones; an entry point exists only when core provides
// it (or a test installed it), so a lookup of anything else fails with ERROR_PROC_NOT_FOUND.
HMODULE LoadLibraryW(LPCWSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// ---- Resources of a module (window manager) -----------------------------------------------

// Resources are compiled into the binary as tables (see resourcetable.h) and found by type and
// name: a number (MAKEINTRESOURCEW), a text without regard to letter case, or "#123". A null
// module is the process's own. Failure: null, with ERROR_RESOURCE_TYPE_NOT_FOUND or
// ERROR_RESOURCE_NAME_NOT_FOUND.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
// The resource's bytes stay where the table put them: LoadResource answers their address as
// the handle, LockResource the same address, FreeResource does nothing.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resourceData);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL resourceData);

// The process's own module for null; other names are the modules core knows.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
// The module's full path; a too small buffer gets the truncated, terminated path, the answer
// is then the buffer's size and the last error ERROR_INSUFFICIENT_BUFFER. 0 on failure.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
