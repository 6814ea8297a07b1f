// The process's environment variables.
#pragma once

#include "windef.h"

// The value's length in units, without the terminator, when it fits into nSize units with its
// terminator; otherwise the size needed, terminator included, and the buffer is left alone.
// 0 with ERROR_ENVVAR_NOT_FOUND when the variable is not set; 0 with ERROR_SUCCESS when it is
// set to an empty value. Names match as the host's environment does: letter case counts.
DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize);
// A null value removes the variable. An empty name or one holding "=" fails with
// ERROR_INVALID_PARAMETER.
BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue);
