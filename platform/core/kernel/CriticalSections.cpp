// Critical sections: a lock that its holder may take again, owned by a thread.
#include <condition_variable>
#include <mutex>

#include "processthreadsapi.h"
#include "synchapi.h"

namespace {

struct SectionLock {
  std::mutex mutex;
  std::condition_variable released;
  DWORD owner = 0;  // the holder's thread id; 0 while free
  LONG depth = 0;   // how often the holder has entered
};

SectionLock& LockOf(LPCRITICAL_SECTION section) { return *static_cast<SectionLock*>(section->LockObject); }

}  // namespace

// Running out of memory here is the only failure; it surfaces as std::bad_alloc, as the
// platform's own section raised an exception for it where it could fail.
void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) { lpCriticalSection->LockObject = new SectionLock; }

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  SectionLock& section = LockOf(lpCriticalSection);
  const DWORD me = GetCurrentThreadId();
  std::unique_lock<std::mutex> lock(section.mutex);
  if (section.owner == me) {
    ++section.depth;
    return;
  }
  section.released.wait(lock, [&section] { return section.owner == 0; });
  section.owner = me;
  section.depth = 1;
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  SectionLock& section = LockOf(lpCriticalSection);
  std::lock_guard<std::mutex> lock(section.mutex);
  // Another thread's leave would hand the section to a third thread while its holder is still
  // inside; ignoring it keeps the holder's exclusion.
  if (section.owner != GetCurrentThreadId()) return;
  if (--section.depth == 0) {
    section.owner = 0;
    section.released.notify_one();
  }
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  delete static_cast<SectionLock*>(lpCriticalSection->LockObject);
  lpCriticalSection->LockObject = nullptr;
}
