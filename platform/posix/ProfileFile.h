// The application profile as INI files: one file per profile under $XDG_CONFIG_HOME (else
// ~/.config), read and written through GLib's key files. Each write goes to disk at once,
// so a value written survives the process.
#pragma once

#include <string>

#include "core/kernel/ProfileStore.h"

class ProfileFile : public core::ProfileStore {
 public:
  std::optional<std::u16string> ReadString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry) override;
  BOOL WriteString(LPCWSTR profile, LPCWSTR section, LPCWSTR entry, LPCWSTR value) override;

  // The file that holds a profile: the configuration folder joined with the profile's name
  // ("TsrRunvane.INI"), whose path separators are kept out of the name.
  static std::string PathOf(LPCWSTR profile);
};

// Installs one process-wide ProfileFile as the profile store.
void InstallProfileFiles();
