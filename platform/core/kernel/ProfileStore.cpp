#include "core/kernel/ProfileStore.h"

#include "core/kernel/InstalledService.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

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

InstalledService<ProfileStore> installedStore;

}  // namespace

std::shared_ptr<ProfileStore> CurrentProfileStore() { return installedStore.CurrentOrDefault<NoProfileStore>(); }

std::shared_ptr<ProfileStore> InstallProfileStore(std::shared_ptr<ProfileStore> store) {
  return installedStore.Install(std::move(store));
}

}  // namespace core
