#include "gtk/WebKitLoadState.h"

#include <utility>

namespace gtkui {

void WebKitLoadState::StartTopLevel(bool fromMemory) {
  pending_ = true;
  memoryLoad_ = fromMemory;
  reloading_ = false;
}

void WebKitLoadState::StartReload() {
  pending_ = true;
  memoryLoad_ = memoryDocument_;
  reloading_ = true;
}

bool WebKitLoadState::LoadStarted() {
  skipFinished_ = false;
  return !pending_;
}

void WebKitLoadState::FailedBeforeCommit() {
  pending_ = false;
  reloading_ = false;
  skipFinished_ = true;
}

void WebKitLoadState::Committed() {
  hasDocument_ = true;
  documentLoading_ = true;
  pending_ = false;
  memoryDocument_ = memoryLoad_;
}

bool WebKitLoadState::Finished() {
  documentLoading_ = false;
  reloading_ = false;
  return !std::exchange(skipFinished_, false);
}

}  // namespace gtkui
