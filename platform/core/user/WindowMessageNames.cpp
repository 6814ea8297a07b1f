// Registered window messages: one number per name for the whole process, from 0xC000 on,
// names compared without regard to letter case like the platform's atoms.
#include "winuser.h"

#include <mutex>
#include <string>
#include <vector>

#include "core/kernel/CaseInsensitiveText.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

struct Names {
  std::mutex mutex;
  std::vector<std::u16string> folded;  // index i has number 0xC000 + i
};

Names& RegisteredNames() {
  static Names names;
  return names;
}

}  // namespace

UINT RegisterWindowMessageW(LPCWSTR name) {
  if (name == nullptr || name[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string folded = FoldCase(std::u16string_view(name, TextLength(name)));
  Names& names = RegisteredNames();
  std::lock_guard lock(names.mutex);
  for (std::size_t i = 0; i < names.folded.size(); ++i)
    if (names.folded[i] == folded) return static_cast<UINT>(0xC000 + i);
  if (names.folded.size() >= 0x4000) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  names.folded.push_back(folded);
  return static_cast<UINT>(0xC000 + names.folded.size() - 1);
}
