// The machine's services as a Wine prefix presents them: the machine hive from the prefix's
// system.reg, paths through its drive links, file attributes from stat(), version
// resources from real PE files, and the desktop's shell for ShellExecuteW.
#pragma once

#include <string>

namespace posix {

// Installs the services of the prefix `$WINEPREFIX`, else `~/.wine`. Raises
// RegistryHiveError (a std::runtime_error whose text names the file and line) when the
// prefix's system.reg cannot be read or parsed; nothing is installed then.
void InstallPosixServices();

// The same for a given prefix folder; a relative one is taken against the working folder.
void InstallPosixServices(const std::string& prefix);

}  // namespace posix
