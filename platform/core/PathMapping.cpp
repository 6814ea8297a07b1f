#include "core/PathMapping.h"

#include <mutex>

namespace core {

namespace {
std::mutex mappingLock;
std::shared_ptr<const PathMapping> installedMapping;
}  // namespace

void InstallPathMapping(std::shared_ptr<const PathMapping> mapping) {
  std::lock_guard<std::mutex> guard(mappingLock);
  installedMapping = std::move(mapping);
}

std::shared_ptr<const PathMapping> CurrentPathMapping() {
  std::lock_guard<std::mutex> guard(mappingLock);
  return installedMapping;
}

}  // namespace core
