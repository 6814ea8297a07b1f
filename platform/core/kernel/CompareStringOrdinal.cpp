#include "stringapiset.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

int Length(LPCWCH text, int count) {
  if (count >= 0) return count;
  int n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// The next character at i, in upper case when asked; surrogate pairs count as one character,
// and a lone surrogate stands for itself.
UChar32 Next(LPCWCH text, int length, int& i, BOOL upper) {
  UChar32 c;
  U16_NEXT(text, i, length, c);
  return upper ? u_toupper(c) : c;
}

}  // namespace

int CompareStringOrdinal(LPCWCH lpString1, int cchCount1, LPCWCH lpString2, int cchCount2, BOOL bIgnoreCase) {
  if (lpString1 == nullptr || lpString2 == nullptr || cchCount1 < -1 || cchCount2 < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int length1 = Length(lpString1, cchCount1);
  const int length2 = Length(lpString2, cchCount2);
  int i = 0, j = 0;
  while (i < length1 && j < length2) {
    const UChar32 a = Next(lpString1, length1, i, bIgnoreCase);
    const UChar32 b = Next(lpString2, length2, j, bIgnoreCase);
    if (a != b) return a < b ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  if (i < length1) return CSTR_GREATER_THAN;
  if (j < length2) return CSTR_LESS_THAN;
  return CSTR_EQUAL;
}
