#include "core/kernel/ProfileStore.h"

#include <atomic>

#include "errhandlingapi.h"
#include "winerror.h"

namespace {

// No store installed: a profile written now would be lost, so the write says so.
class NoProfileStore : public ProfileStore {
 public:
  std::optional<std::u16string> ReadString(LPCWSTR, LPCWSTR, LPCWSTR) override { return std::nullopt; }
  BOOL WriteString(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR) override {
    SetLastError(ERROR_CANTWRITE);
    return FALSE;
  }
};

std::atomic<ProfileStore*> installed{nullptr};

}  // namespace

ProfileStore& CurrentProfileStore() {
  static NoProfileStore none;
  ProfileStore* store = installed.load();
  return store != nullptr ? *store : none;
}

void InstallProfileStore(ProfileStore* store) { installed.store(store); }
