// LocalAlloc and LocalFree. Every block handed out is remembered, so that freeing a pointer
// that did not come from here fails the way the platform's does instead of corrupting the heap.
#include <cstdlib>
#include <cstring>

#include "core/kernel/HandleTable.h"
#include "errhandlingapi.h"
#include "winbase.h"
#include "winerror.h"

namespace {

// A fixed block is its own handle; nothing is kept about it but that it is live.
struct LocalBlock {};

using LiveBlocks = core::HandleTable<HLOCAL, LocalBlock>;

LiveBlocks& Blocks() {
  // The handles come from malloc, never from the table's own count.
  static auto* blocks = LiveBlocks::Make(0, 0, ERROR_INVALID_HANDLE);
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
    Blocks().Insert(block, LocalBlock{});
  } catch (...) {
    std::free(block);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return block;
}

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem == nullptr) return nullptr;
  if (!Blocks().Remove(hMem)) {
    Blocks().ReportBadHandle();
    return hMem;
  }
  std::free(hMem);
  return nullptr;
}
