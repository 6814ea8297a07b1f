// The initialisation-file calls over the installed profile store.
#include "winbase.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/kernel/ProfileStore.h"
#include "errhandlingapi.h"
#include "winerror.h"

DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
                               DWORD nSize, LPCWSTR lpFileName) {
  if (lpReturnedString == nullptr || nSize == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lpReturnedString[0] = 0;
  if (lpAppName == nullptr || lpKeyName == nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  std::optional<std::u16string> value = core::CurrentProfileStore()->ReadString(lpFileName, lpAppName, lpKeyName);
  if (!value.has_value()) {
    value.emplace(lpDefault != nullptr ? lpDefault : u"");
    // The system strips the default's trailing blanks.
    value->erase(value->find_last_not_of(u' ') + 1);
  }
  const std::size_t copied = std::min<std::size_t>(value->size(), nSize - 1);
  std::copy_n(value->data(), copied, lpReturnedString);
  lpReturnedString[copied] = 0;
  return static_cast<DWORD>(copied);
}

BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString, LPCWSTR lpFileName) {
  if (lpAppName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return core::CurrentProfileStore()->WriteString(lpFileName, lpAppName, lpKeyName, lpString);
}
