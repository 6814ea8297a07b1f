// Thread-local storage slots. Like the platform, every thread has room for the first 64 slots
// and gets room for the other 1024 when it first stores a value in one of them.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "winerror.h"

namespace {

constexpr DWORD kExpansionSlots = 1024;
constexpr DWORD kSlots = TLS_MINIMUM_AVAILABLE + kExpansionSlots;

// Odd while the slot is allocated. TlsAlloc and TlsFree each move it on, so a value a thread
// stored under an earlier allocation of the same index no longer counts: the slot reads null
// in every thread without touching the threads' storage.
std::atomic<std::uint64_t> generations[kSlots];
std::mutex allocationLock;

struct Cell {
  std::uint64_t generation;
  void* value;
};

// Trivially destructible, so the values stay readable while static objects are destroyed at
// exit, which is when the last slot owners dispose of the main thread's values.
thread_local Cell inlineCells[TLS_MINIMUM_AVAILABLE];
thread_local Cell* expansionCells = nullptr;
thread_local bool expansionReleased = false;

struct ExpansionOwner {
  ~ExpansionOwner() {
    delete[] expansionCells;
    expansionCells = nullptr;
    expansionReleased = true;
  }
};
thread_local ExpansionOwner expansionOwner;

bool IsAllocated(std::uint64_t generation) { return generation % 2 == 1; }

// The calling thread's cell for a valid index; null when the expansion cells are missing and
// `create` is false or they cannot be made.
Cell* CellOf(DWORD index, bool create) {
  if (index < TLS_MINIMUM_AVAILABLE) return &inlineCells[index];
  if (expansionCells == nullptr) {
    if (!create || expansionReleased) return nullptr;
    expansionCells = new (std::nothrow) Cell[kExpansionSlots]();
    if (expansionCells == nullptr) return nullptr;
    (void)&expansionOwner;  // ties the release to this thread's end
  }
  return &expansionCells[index - TLS_MINIMUM_AVAILABLE];
}

// The slot's current generation, or 0 with ERROR_INVALID_PARAMETER when it is not allocated.
std::uint64_t GenerationOf(DWORD index) {
  const std::uint64_t generation = index < kSlots ? generations[index].load(std::memory_order_acquire) : 0;
  if (!IsAllocated(generation)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return generation;
}

}  // namespace

DWORD TlsAlloc() {
  std::lock_guard<std::mutex> lock(allocationLock);
  for (DWORD index = 0; index < kSlots; ++index) {
    if (!IsAllocated(generations[index].load(std::memory_order_relaxed))) {
      generations[index].fetch_add(1, std::memory_order_release);
      return index;
    }
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return TLS_OUT_OF_INDEXES;
}

LPVOID TlsGetValue(DWORD dwTlsIndex) {
  const std::uint64_t generation = GenerationOf(dwTlsIndex);
  if (generation == 0) return nullptr;
  const Cell* cell = CellOf(dwTlsIndex, false);
  // Callers tell a stored null from a failure by the last error.
  SetLastError(ERROR_SUCCESS);
  return cell != nullptr && cell->generation == generation ? cell->value : nullptr;
}

BOOL TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue) {
  const std::uint64_t generation = GenerationOf(dwTlsIndex);
  if (generation == 0) return FALSE;
  Cell* cell = CellOf(dwTlsIndex, lpTlsValue != nullptr);
  if (cell == nullptr) {
    if (lpTlsValue == nullptr) return TRUE;  // no cells yet: the slot already reads null
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  cell->generation = generation;
  cell->value = lpTlsValue;
  return TRUE;
}

BOOL TlsFree(DWORD dwTlsIndex) {
  std::lock_guard<std::mutex> lock(allocationLock);
  if (GenerationOf(dwTlsIndex) == 0) return FALSE;
  generations[dwTlsIndex].fetch_add(1, std::memory_order_release);
  return TRUE;
}
