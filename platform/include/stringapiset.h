// Code-page conversions between byte strings and UTF-16.
//
// Protocol of both functions: a length of -1 means the input is zero-terminated and the
// terminator is converted too; an output size of 0 asks only for the size the output needs.
// Otherwise the output size is the buffer's capacity. The result is the number of units
// written (or needed); 0 means failure, and the thread's last error says why:
//   ERROR_INVALID_PARAMETER       a bad call (no input, zero or negative length, no buffer
//                                 for a nonzero size, overlapping buffers, unknown code page);
//   ERROR_INVALID_FLAGS           flags the code page does not accept;
//   ERROR_INSUFFICIENT_BUFFER     the output does not fit;
//   ERROR_NO_UNICODE_TRANSLATION  the strict flags refuse an ill-formed input.
#pragma once

#include "windef.h"

typedef const CHAR* LPCCH;
typedef const WCHAR* LPCWCH;

// The system's ANSI code page; here it is windows-1252.
#define CP_ACP 0
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

#define WC_ERR_INVALID_CHARS 0x00000080
#define WC_NO_BEST_FIT_CHARS 0x00000400

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar);

// With CP_UTF8 lpDefaultChar and lpUsedDefaultChar must be null. With CP_ACP a character the
// code page lacks becomes *lpDefaultChar (or "?"), and *lpUsedDefaultChar tells whether
// that happened.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCCH lpDefaultChar, LPBOOL lpUsedDefaultChar);

// Results of the comparison functions; 0 is failure.
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

// Compares the units in order; a length of -1 means zero-terminated. With bIgnoreCase each
// character is compared in upper case, by the system's simple (one-to-one) mapping.
int CompareStringOrdinal(LPCWCH lpString1, int cchCount1, LPCWCH lpString2, int cchCount2, BOOL bIgnoreCase);
