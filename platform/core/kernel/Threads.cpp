// Threads on the host's threads, with the platform's identifiers and waitable handles.
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include "core/kernel/KernelObjects.h"
#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "winerror.h"

namespace {

std::atomic<DWORD> lastThreadId{0};
thread_local DWORD currentThreadId = 0;

DWORD NewThreadId() { return lastThreadId.fetch_add(4) + 4; }

// Made first on a new thread, so it is destroyed last: the thread's handle is signalled
// only once every other thread-local object of the thread is gone.
struct ThreadEnd {
  std::shared_ptr<core::ThreadObject> object;
  ~ThreadEnd() {
    if (object != nullptr) object->Signal();
  }
};
thread_local ThreadEnd threadEnd;

}  // namespace

DWORD GetCurrentThreadId() {
  if (currentThreadId == 0) currentThreadId = NewThreadId();
  return currentThreadId;
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId) {
  if (lpStartAddress == nullptr || (dwCreationFlags & ~static_cast<DWORD>(STACK_SIZE_PARAM_IS_A_RESERVATION)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  HANDLE handle = nullptr;
  try {
    auto object = std::make_shared<core::ThreadObject>();
    const DWORD id = NewThreadId();
    handle = core::AddKernelObject(object);
    // Stored before the thread runs, so that the new thread can find its own identifier there.
    if (lpThreadId != nullptr) *lpThreadId = id;
    std::thread([object, id, lpStartAddress, lpParameter] {
      threadEnd.object = object;
      currentThreadId = id;
      lpStartAddress(lpParameter);
    }).detach();
    return handle;
  } catch (const std::exception&) {
    // The host could not start a thread (or had no memory for its record).
    if (handle != nullptr) core::RemoveKernelObject(handle);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
}
