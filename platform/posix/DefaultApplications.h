// The desktop's default applications, as GIO knows them from the desktop's settings
// (mimeapps.list and the installed .desktop files).
#pragma once

#include <optional>
#include <string>

namespace posix {

struct DesktopLaunch {
  enum class Status {
    Launched,
    NoApplication,  // the desktop has no default application for it
    Failed,         // there is one, and it could not be started
  };
  Status status = Status::Failed;
  // NoApplication: what has no application (a scheme, or a content type with its
  // description); Failed: the reason in the desktop's words.
  std::string detail;
};

// Opens a web or mail address (any "scheme:..." text) with the default application for its
// scheme. Returns without waiting for the application.
DesktopLaunch OpenAddressWithDefaultApplication(const std::string& address);

// Opens a file or folder with the default application for its content type (a folder's is
// inode/directory). The path must exist. Returns without waiting for the application.
DesktopLaunch OpenFileWithDefaultApplication(const std::string& hostPath);

// The host path of a "file:" address, or nothing when the address names no local file.
std::optional<std::string> HostPathOfFileAddress(const std::string& address);

}  // namespace posix
