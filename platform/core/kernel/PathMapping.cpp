#include "core/kernel/PathMapping.h"

#include "core/kernel/InstalledService.h"

namespace core {

namespace {
InstalledService<const PathMapping> installedMapping;
}  // namespace

void InstallPathMapping(std::shared_ptr<const PathMapping> mapping) {
  installedMapping.Install(std::move(mapping));
}

std::shared_ptr<const PathMapping> CurrentPathMapping() {
  return installedMapping.Current();
}

}  // namespace core
