#include "core/kernel/KernelObjects.h"

#include <chrono>
#include <cstdint>
#include <unordered_map>

#include "errhandlingapi.h"
#include "handleapi.h"
#include "synchapi.h"
#include "winerror.h"

namespace {

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<HANDLE, std::shared_ptr<core::WaitableObject>> objects;
  std::uintptr_t last = 0x100;
};

HandleTable& Table() {
  static auto* table = new HandleTable;  // never destroyed: threads may still wait during exit
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

HANDLE AddKernelObject(std::shared_ptr<WaitableObject> object) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  // Multiples of 4, as the platform's handles are.
  HANDLE handle = reinterpret_cast<HANDLE>(table.last += 4);
  table.objects.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<WaitableObject> FindKernelObject(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const auto found = table.objects.find(handle);
  if (found == table.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return found->second;
}

bool RemoveKernelObject(HANDLE handle) {
  std::shared_ptr<WaitableObject> gone;  // released after the table's lock
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const auto found = table.objects.find(handle);
  if (found == table.objects.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  gone = std::move(found->second);
  table.objects.erase(found);
  return true;
}

}  // namespace core

BOOL CloseHandle(HANDLE hObject) { return core::RemoveKernelObject(hObject) ? TRUE : FALSE; }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  const std::shared_ptr<core::WaitableObject> object = core::FindKernelObject(hHandle);
  if (object == nullptr) return WAIT_FAILED;
  return object->Wait(dwMilliseconds);
}
