// The process-wide list of what must run on a thread that is about to end. The foundation
// runs it at the end of the threads it starts itself; a thread started elsewhere keeps its
// per-thread values until the process ends unless its owner runs the list too.
#pragma once

#include <mutex>
#include <vector>

#include "foundation/Callable.h"

class ThreadExitHooks {
 public:
  // A hook added again is not added twice. The hook must outlive the list.
  void Add(Callable<void (*)()>& hook);
  // Calls each hook on the calling thread, in the order they were added. A hook that fails
  // does not keep the others from running; its failure goes no further.
  void Run();

 private:
  std::mutex lock_;
  std::vector<Callable<void (*)()>*> hooks_;
};

// Made on first use and never destroyed, since threads may still end while the process exits.
ThreadExitHooks& TheThreadExitHooks();
