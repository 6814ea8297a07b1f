// LocalAlloc and LocalFree. Every block handed out is remembered, so that freeing a pointer
// that did not come from here fails the way the platform's does instead of corrupting the heap.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "errhandlingapi.h"
#include "winbase.h"
#include "winerror.h"

namespace {

struct LiveBlocks {
  std::mutex lock;
  std::unordered_set<void*> blocks;
};

LiveBlocks& Blocks() {
  static auto* blocks = new LiveBlocks;  // never destroyed: buffers may be freed during exit
  return *blocks;
}

}  // namespace

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  // A zero-byte request still yields a distinct block, as the platform's fixed blocks do.
  void* block = std::malloc(uBytes == 0 ? 1 : uBytes);
  if (block == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (uFlags & LMEM_ZEROINIT) std::memset(block, 0, uBytes);
  try {
    LiveBlocks& live = Blocks();
    std::lock_guard<std::mutex> guard(live.lock);
    live.blocks.insert(block);
  } catch (...) {
    std::free(block);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return block;
}

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem == nullptr) return nullptr;
  LiveBlocks& live = Blocks();
  {
    std::lock_guard<std::mutex> guard(live.lock);
    if (live.blocks.erase(hMem) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return hMem;
    }
  }
  std::free(hMem);
  return nullptr;
}
