// The shell's execution call, as shell32 has it.
#pragma once

#include "windef.h"

// Error results of ShellExecuteW (a result greater than 32 means success).
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

// Opens, runs or shows `file` with `verb` (null: the file type's default verb). The result is
// an HINSTANCE only by type: greater than 32 on success, one of the SE_ERR_* codes otherwise,
// with the reason as the thread's last error.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand);
