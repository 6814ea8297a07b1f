// The kernel objects that handles name: events and threads. Both can be waited for, so they
// share one base; the handle table keeps them alive until CloseHandle, and a wait in progress
// keeps its object alive beyond that.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "windef.h"

namespace core {

class WaitableObject {
 public:
  // A manual-reset object stays signalled until Unsignal; any other one is unsignalled again
  // by the wait it releases.
  WaitableObject(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}
  WaitableObject(const WaitableObject&) = delete;
  WaitableObject& operator=(const WaitableObject&) = delete;
  virtual ~WaitableObject() = default;

  void Signal();
  void Unsignal();
  // WAIT_OBJECT_0 or WAIT_TIMEOUT; INFINITE waits for as long as it takes.
  DWORD Wait(DWORD milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  const bool manualReset_;
  bool signalled_;
};

class EventObject : public WaitableObject {
 public:
  using WaitableObject::WaitableObject;
};

// Signalled once the thread has ended.
class ThreadObject : public WaitableObject {
 public:
  ThreadObject() : WaitableObject(true, false) {}
};

// Handles are never reused, so a closed handle stays invalid for the rest of the run.
HANDLE AddKernelObject(std::shared_ptr<WaitableObject> object);
// Null, with ERROR_INVALID_HANDLE, when the handle names no open object.
std::shared_ptr<WaitableObject> FindKernelObject(HANDLE handle);
// False, with ERROR_INVALID_HANDLE, when the handle names no open object.
bool RemoveKernelObject(HANDLE handle);

}  // namespace core
