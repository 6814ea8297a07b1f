// An application profile kept in memory, so that tests never write the machine's files.
// Profile, section and entry names compare without regard to letter case, as the platform's
// profile files do.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "core/kernel/ProfileStore.h"

class MemoryProfileStore : public core::ProfileStore {
 public:
  std::optional<std::u16string> ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) override;
  BOOL WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) override;

 private:
  std::mutex mutex_;
  std::map<std::pair<std::u16string, std::u16string>, std::map<std::u16string, std::u16string>> values_;
};

// The test program's profile store, installed before its first test (InstallTestDefaults).
MemoryProfileStore& DefaultProfileStore();
