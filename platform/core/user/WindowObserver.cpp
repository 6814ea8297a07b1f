#include "core/user/WindowObserver.h"

#include "core/kernel/InstalledService.h"

namespace core {

namespace {
InstalledService<WindowObserver> installedObserver;
}  // namespace

std::shared_ptr<WindowObserver> InstallWindowObserver(std::shared_ptr<WindowObserver> observer) {
  return installedObserver.Install(std::move(observer));
}

std::shared_ptr<WindowObserver> CurrentWindowObserver() { return installedObserver.Current(); }

}  // namespace core
