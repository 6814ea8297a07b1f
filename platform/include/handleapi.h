// Closing the handles of kernel objects (events and threads).
#pragma once

#include "windef.h"

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

// The object lives on while a wait on it is still in progress; the handle is invalid at once.
// FALSE with ERROR_INVALID_HANDLE for a handle that names no open object.
BOOL CloseHandle(HANDLE hObject);
