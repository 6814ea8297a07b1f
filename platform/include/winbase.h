// Message formatting and local memory of the platform.
#pragma once

#include <cstdarg>

#include "windef.h"

// ---- Message formatting -------------------------------------------------------------------

// The low eight bits are the maximum line width: 0 keeps the message's own line breaks,
// FORMAT_MESSAGE_MAX_WIDTH_MASK joins every line into one, any other value wraps at that width.
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000

#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_SYS_DEFAULT 0x02
#define SUBLANG_ENGLISH_US 0x01
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))

// Returns the number of characters stored, without the terminator; 0 on failure with the
// reason in the thread's last error. With FORMAT_MESSAGE_ALLOCATE_BUFFER, lpBuffer is really
// a pointer to the buffer pointer; the buffer comes from LocalAlloc and is released with
// LocalFree. Arguments is a va_list*, or a DWORD_PTR array with FORMAT_MESSAGE_ARGUMENT_ARRAY.
DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                     DWORD nSize, va_list* Arguments);
// As FormatMessageW, with text in the system's ANSI code page; sizes count bytes.
DWORD FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                     DWORD nSize, va_list* Arguments);

// ---- Local memory -------------------------------------------------------------------------

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

// Fixed blocks only: the handle is the block's address. Null on failure.
HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes);
// Null on success (and for a null handle); the handle itself on failure, with
// ERROR_INVALID_HANDLE when it is not a block LocalAlloc handed out.
HLOCAL LocalFree(HLOCAL hMem);

// ---- Global memory and integer helpers (window manager) -----------------------------------

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

// A fixed block's handle is its address; a moveable block's handle is not, and GlobalLock
// hands out the address. Null on failure, with the reason in the thread's last error.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
// Nonzero while the block is still locked; 0 with NO_ERROR once it is unlocked (always so for
// a fixed block), 0 with ERROR_NOT_LOCKED or ERROR_INVALID_HANDLE otherwise.
BOOL GlobalUnlock(HGLOBAL memory);
// Null on success; the handle itself on failure.
HGLOBAL GlobalFree(HGLOBAL memory);
SIZE_T GlobalSize(HGLOBAL memory);
// The handle of the block that holds an address GlobalLock handed out.
HGLOBAL GlobalHandle(LPCVOID memory);

// number * numerator / denominator through a 64-bit product, rounded half away from zero;
// -1 when the denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);

// Initialisation files. The entry's text (or lpDefault, trailing blanks dropped, or "" for
// a null default) is copied into the buffer, cut to nSize - 1 units when it does not fit;
// the result is the number of units copied. Core answers named entries only: a null section
// or entry, which asks for a list of names, fails with ERROR_NOT_SUPPORTED.
DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
                               DWORD nSize, LPCWSTR lpFileName);
// A null lpString removes the entry, a null lpKeyName the whole section.
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName);
