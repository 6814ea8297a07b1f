#include "foundation/ThreadExitHooks.h"

#include <algorithm>

void ThreadExitHooks::Add(Callable<void (*)()>& hook) {
  std::lock_guard<std::mutex> guard(lock_);
  if (std::find(hooks_.begin(), hooks_.end(), &hook) == hooks_.end()) hooks_.push_back(&hook);
}

void ThreadExitHooks::Run() {
  std::vector<Callable<void (*)()>*> hooks;
  {
    // A hook may add hooks; running a copy keeps the lock free while they run.
    std::lock_guard<std::mutex> guard(lock_);
    hooks = hooks_;
  }
  for (Callable<void (*)()>* hook : hooks) {
    try {
      (*hook)();
    } catch (...) {
      // The thread is ending: there is nobody left to report to.
    }
  }
}

ThreadExitHooks& TheThreadExitHooks() {
  static auto* hooks = new ThreadExitHooks;
  return *hooks;
}
