// The installed browser engine.
#include "core/com/BrowserEngine.h"

#include "core/kernel/InstalledService.h"

namespace core {

namespace {
InstalledService<BrowserEngine> installedEngine;
}  // namespace

void BrowserEngine::SetCommandPrefixes(const std::vector<std::u16string>&) {}

void InstallBrowserEngine(std::shared_ptr<BrowserEngine> engine) { installedEngine.Install(std::move(engine)); }

std::shared_ptr<BrowserEngine> CurrentBrowserEngine() { return installedEngine.Current(); }

}  // namespace core
