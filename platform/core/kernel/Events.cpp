// Events as kernel objects.
#include <memory>
#include <new>

#include "core/kernel/KernelObjects.h"
#include "errhandlingapi.h"
#include "synchapi.h"
#include "winerror.h"

namespace {

std::shared_ptr<core::EventObject> EventOf(HANDLE handle) {
  std::shared_ptr<core::WaitableObject> object = core::FindKernelObject(handle);
  if (object == nullptr) return nullptr;
  // A thread's handle can be waited for but not set or reset.
  auto event = std::dynamic_pointer_cast<core::EventObject>(object);
  if (event == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
  // A named event is shared between processes through the object namespace, which a
  // single headless process does not have.
  if (lpName != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  try {
    return core::AddKernelObject(std::make_shared<core::EventObject>(bManualReset != FALSE, bInitialState != FALSE));
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
}

BOOL SetEvent(HANDLE hEvent) {
  const std::shared_ptr<core::EventObject> event = EventOf(hEvent);
  if (event == nullptr) return FALSE;
  event->Signal();
  return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
  const std::shared_ptr<core::EventObject> event = EventOf(hEvent);
  if (event == nullptr) return FALSE;
  event->Unsignal();
  return TRUE;
}
