#include "posix/PosixServices.h"

#include <memory>

#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/FileVersionSource.h"
#include "core/kernel/PathMapping.h"
#include "core/registry/RegistryHive.h"
#include "core/shell/ShellService.h"
#include "posix/PosixFileAttributes.h"
#include "posix/PosixFileVersions.h"
#include "posix/PosixShell.h"
#include "posix/RegistryHiveError.h"
#include "posix/WineHiveParser.h"
#include "posix/WinePrefixPaths.h"

namespace posix {

void InstallPosixServices() { InstallPosixServices(DefaultWinePrefix()); }

void InstallPosixServices(const std::string& given) {
  const std::optional<std::string> absolute = AbsolutePosixPath(given);
  if (!absolute) {
    throw RegistryHiveError(given + "/system.reg", 0,
                            "cannot be found: the Wine prefix is a relative path, and the working folder is not known");
  }
  const std::string& prefix = *absolute;
  // The hive first: when it cannot be read, the machine is not what the launcher expects,
  // and nothing half-installed is left behind.
  std::shared_ptr<const core::RegistryHive> hive = LoadWineHive(prefix + "/system.reg");
  auto mapping = std::make_shared<const WinePrefixPaths>(prefix);
  core::InstallMachineHive(std::move(hive));
  core::InstallPathMapping(mapping);
  core::InstallFileAttributeSource(std::make_shared<const PosixFileAttributes>(mapping));
  core::InstallFileVersionSource(std::make_shared<const PosixFileVersions>(mapping));
  core::InstallShellService(std::make_shared<const PosixShell>(prefix, mapping));
}

}  // namespace posix
