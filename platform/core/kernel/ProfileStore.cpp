// Core's profile store: sections and entries in memory, for tests and for a process that
// installs no store of its own.
#include "core/kernel/ProfileStore.h"

#include <map>
#include <mutex>

#include "core/kernel/CaseInsensitiveText.h"
#include "core/kernel/InstalledService.h"

namespace core {

namespace {

// Profile, section and entry names compare without regard to letter case, as the platform's
// profile files do.
class MemoryProfileStore : public ProfileStore {
 public:
  std::optional<std::u16string> ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) override {
    std::lock_guard lock(mutex_);
    auto it = values_.find(Key(profile, section));
    if (it == values_.end()) return std::nullopt;
    auto value = it->second.find(Fold(entry));
    if (value == it->second.end()) return std::nullopt;
    return value->second;
  }

  BOOL WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) override {
    std::lock_guard lock(mutex_);
    const auto key = Key(profile, section);
    if (entry == nullptr) {
      values_.erase(key);
    } else if (value == nullptr) {
      auto it = values_.find(key);
      if (it != values_.end()) it->second.erase(Fold(entry));
    } else {
      values_[key][Fold(entry)] = value;
    }
    return TRUE;
  }

 private:
  static std::u16string Fold(LPCWSTR text) {
    return text == nullptr ? std::u16string() : FoldCase(std::u16string_view(text, TextLength(text)));
  }
  static std::pair<std::u16string, std::u16string> Key(LPCWSTR profile, LPCWSTR section) {
    return {Fold(profile), Fold(section)};
  }

  std::mutex mutex_;
  std::map<std::pair<std::u16string, std::u16string>, std::map<std::u16string, std::u16string>> values_;
};

InstalledService<ProfileStore> installedStore;

}  // namespace

std::shared_ptr<ProfileStore> CurrentProfileStore() { return installedStore.CurrentOrDefault<MemoryProfileStore>(); }

std::shared_ptr<ProfileStore> InstallProfileStore(std::shared_ptr<ProfileStore> store) {
  return installedStore.Install(std::move(store));
}

}  // namespace core
