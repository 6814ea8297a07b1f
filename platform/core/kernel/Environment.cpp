// The process's environment variables, kept where the host keeps them so that child
// processes and the host's own libraries see the same values. Text there is UTF-8.
#include <cstdlib>
#include <mutex>
#include <new>
#include <string>

#include "core/kernel/UtfCodec.h"
#include "errhandlingapi.h"
#include "processenv.h"
#include "winerror.h"

namespace {

// The host's getenv and setenv are not safe against each other.
std::mutex environmentLock;

// Lenient: an unpaired surrogate cannot name a variable that exists, and replacing it keeps it
// from matching anything else.
std::string ToUtf8(LPCWSTR text) { return Utf::LenientUtf8(text); }

// The host's environment has no entry whose name is empty or holds "=".
bool IsValidName(const std::string& name) { return !name.empty() && name.find('=') == std::string::npos; }

}  // namespace

DWORD GetEnvironmentVariableW(LPCWSTR lpName, LPWSTR lpBuffer, DWORD nSize) {
  std::u16string value;
  try {
    const std::string name = lpName != nullptr ? ToUtf8(lpName) : std::string();
    std::lock_guard<std::mutex> lock(environmentLock);
    const char* raw = IsValidName(name) ? std::getenv(name.c_str()) : nullptr;
    if (raw == nullptr) {
      SetLastError(ERROR_ENVVAR_NOT_FOUND);
      return 0;
    }
    value = Utf::LenientUtf16(raw);
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (value.size() >= nSize || lpBuffer == nullptr) return static_cast<DWORD>(value.size() + 1);
  value.copy(lpBuffer, value.size());
  lpBuffer[value.size()] = u'\0';
  // An empty value answers 0 like a failure; the cleared last error tells them apart.
  if (value.empty()) SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(value.size());
}

BOOL SetEnvironmentVariableW(LPCWSTR lpName, LPCWSTR lpValue) {
  try {
    const std::string name = lpName != nullptr ? ToUtf8(lpName) : std::string();
    if (!IsValidName(name)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    const std::string value = lpValue != nullptr ? ToUtf8(lpValue) : std::string();
    std::lock_guard<std::mutex> lock(environmentLock);
    const int result = lpValue != nullptr ? ::setenv(name.c_str(), value.c_str(), 1) : ::unsetenv(name.c_str());
    if (result != 0) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return FALSE;
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
}
