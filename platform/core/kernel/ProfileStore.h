// Where the application profile keeps its texts: values by profile, section and entry.
// platform/posix installs a file per profile; tests install a store in memory.
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

// The store in force. Without one (before a store is installed, and after null is) there is
// nowhere to keep a profile: every entry is missing and every write fails with
// ERROR_CANTWRITE.
std::shared_ptr<ProfileStore> CurrentProfileStore();
// Answers the store it replaces.
std::shared_ptr<ProfileStore> InstallProfileStore(std::shared_ptr<ProfileStore> store);

}  // namespace core
