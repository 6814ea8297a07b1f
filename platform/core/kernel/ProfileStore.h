// Where the application profile keeps its texts: values by profile, section and entry. Core's
// default store is in memory (for tests); platform/posix installs a file per profile.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

namespace core {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The text of the entry, or nothing when there is none.
  virtual std::optional<std::u16string> ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) = 0;
  // Stores value; a null value removes the entry, a null entry the section. FALSE with the
  // last error set when the store cannot be written.
  virtual BOOL WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) = 0;
};

// The store in force, core's in-memory store while none is installed.
std::shared_ptr<ProfileStore> CurrentProfileStore();
// Answers the store it replaces; null goes back to core's in-memory store.
std::shared_ptr<ProfileStore> InstallProfileStore(std::shared_ptr<ProfileStore> store);

}  // namespace core
