#include "core/kernel/KernelObjects.h"

#include <chrono>

#include "core/kernel/HandleTable.h"
#include "errhandlingapi.h"
#include "handleapi.h"
#include "synchapi.h"
#include "winerror.h"

namespace {

// Objects are shared: a wait in progress keeps its object alive after CloseHandle. Handles
// are multiples of 4, as the platform's are.
using KernelTable = core::HandleTable<HANDLE, std::shared_ptr<core::WaitableObject>>;

KernelTable& Table() {
  static auto* table = KernelTable::Make(0x104, 4, ERROR_INVALID_HANDLE);
  return *table;
}

}  // namespace

namespace core {

void WaitableObject::Signal() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = true;
  changed_.notify_all();
}

void WaitableObject::Unsignal() {
  std::lock_guard<std::mutex> lock(mutex_);
  signalled_ = false;
}

DWORD WaitableObject::Wait(DWORD milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto isSignalled = [this] { return signalled_; };
  if (milliseconds == INFINITE) {
    changed_.wait(lock, isSignalled);
  } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), isSignalled)) {
    return WAIT_TIMEOUT;
  }
  // Several waiters of an auto-reset object may wake; the first to get here takes the signal
  // and the others see it gone and wait on.
  if (!manualReset_) signalled_ = false;
  return WAIT_OBJECT_0;
}

HANDLE AddKernelObject(std::shared_ptr<WaitableObject> object) { return Table().Add(std::move(object)); }

std::shared_ptr<WaitableObject> FindKernelObject(HANDLE handle) {
  return Table().Visit(handle, [](std::shared_ptr<WaitableObject>* found) -> std::shared_ptr<WaitableObject> {
    if (found == nullptr) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    return *found;
  });
}

bool RemoveKernelObject(HANDLE handle) {
  if (Table().Remove(handle)) return true;
  Table().ReportBadHandle();
  return false;
}

}  // namespace core

BOOL CloseHandle(HANDLE hObject) { return core::RemoveKernelObject(hObject) ? TRUE : FALSE; }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  const std::shared_ptr<core::WaitableObject> object = core::FindKernelObject(hHandle);
  if (object == nullptr) return WAIT_FAILED;
  return object->Wait(dwMilliseconds);
}
