// The process's own module: its handle and its path. The path starts as the executable's
// Unix path under drive Z:, written with backslashes, so that code taking the name after the
// last backslash finds the executable's name.
#include "core/kernel/ModuleFileName.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include "core/kernel/CaseInsensitiveText.h"
#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winerror.h"

namespace {

// The platform's usual image base; any fixed, non-null value would do.
HMODULE const kProcessModule = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x00400000));

std::u16string ExecutablePathAsWindowsPath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return u"Z:\\unknown.exe";
  std::u16string text = u"Z:" + path.u16string();
  for (char16_t& c : text)
    if (c == u'/') c = u'\\';
  return text;
}

struct ModulePath {
  std::mutex mutex;
  std::u16string path = ExecutablePathAsWindowsPath();
};

ModulePath& Path() {
  static ModulePath path;
  return path;
}

}  // namespace

void SetModuleFileName(std::u16string path) {
  ModulePath& state = Path();
  std::lock_guard lock(state.mutex);
  state.path = std::move(path);
}

std::u16string CurrentModuleFileName() {
  ModulePath& state = Path();
  std::lock_guard lock(state.mutex);
  return state.path;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (moduleName == nullptr) return kProcessModule;
  const std::u16string path = CurrentModuleFileName();
  const std::u16string_view name(moduleName, TextLength(moduleName));
  const std::u16string_view fileName = std::u16string_view(path).substr(path.find_last_of(u'\\') + 1);
  if (EqualsIgnoringCase(name, path) || EqualsIgnoringCase(name, fileName)) return kProcessModule;
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  if (module != nullptr && module != kProcessModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  const std::u16string path = CurrentModuleFileName();
  if (size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() < size) {
    path.copy(fileName, path.size());
    fileName[path.size()] = 0;
    return static_cast<DWORD>(path.size());
  }
  // Too small: as the platform does, the truncated text is terminated and the answer is the
  // buffer's size.
  path.copy(fileName, size - 1);
  fileName[size - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
