// The installed browser engine.
#include "core/com/BrowserEngine.h"

#include <mutex>

namespace core {

namespace {
std::mutex engineLock;
std::shared_ptr<BrowserEngine>& Installed() {
  static std::shared_ptr<BrowserEngine> engine;
  return engine;
}
}  // namespace

void BrowserEngine::SetCommandPrefixes(const std::vector<std::u16string>&) {}

void InstallBrowserEngine(std::shared_ptr<BrowserEngine> engine) {
  std::lock_guard<std::mutex> guard(engineLock);
  Installed() = std::move(engine);
}

std::shared_ptr<BrowserEngine> CurrentBrowserEngine() {
  std::lock_guard<std::mutex> guard(engineLock);
  return Installed();
}

}  // namespace core
