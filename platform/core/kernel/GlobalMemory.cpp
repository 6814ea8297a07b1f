// Global memory blocks. Fixed blocks are their own handles; a moveable block gets a separate
// handle and a lock count, so that code which forgets GlobalLock fails the way it would on
// the platform instead of working by accident.
#include "winbase.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "core/kernel/HandleTable.h"
#include "core/kernel/KnownMemory.h"
#include "errhandlingapi.h"
#include "winerror.h"

#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158L
#endif

namespace {

struct Block {
  void* data;
  SIZE_T size;
  bool moveable;
  int locks;
};

// The blocks by handle. Moveable blocks get handles from the table's count; fixed blocks
// are their own handles.
using GlobalHeap = core::HandleTable<HGLOBAL, Block>;

GlobalHeap& Heap() {
  static auto* heap = GlobalHeap::Make(0x7F00000C, 8, ERROR_INVALID_HANDLE);
  return *heap;
}

// The handle of each block by its address, for GlobalHandle.
struct Owners {
  std::mutex mutex;
  std::unordered_map<const void*, HGLOBAL> byAddress;
};

Owners& BlockOwners() {
  static auto* owners = new Owners;  // never destroyed, like the heap's table
  return *owners;
}

// Runs use(Block&) on a handle's block with the heap locked; a bad handle sets
// ERROR_INVALID_HANDLE and gives `otherwise`.
template <typename Result, typename Use>
Result WithBlock(HGLOBAL handle, Result otherwise, Use use) {
  GlobalHeap& heap = Heap();
  return heap.Visit(handle, [&](Block* block) -> Result {
    if (block == nullptr) {
      heap.ReportBadHandle();
      return otherwise;
    }
    return use(*block);
  });
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if ((flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // A zero-byte request still gets a distinct address.
  void* data = std::malloc(bytes == 0 ? 1 : bytes);
  if (data == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & GMEM_ZEROINIT) std::memset(data, 0, bytes == 0 ? 1 : bytes);
  const bool moveable = (flags & GMEM_MOVEABLE) != 0;
  const Block block{data, bytes, moveable, 0};
  HGLOBAL handle = data;
  if (moveable)
    handle = Heap().Add(block);
  else
    Heap().Insert(data, block);  // a live block's address is no other block's handle
  {
    Owners& owners = BlockOwners();
    std::lock_guard lock(owners.mutex);
    owners.byAddress[data] = handle;
  }
  RecordKnownMemory(data, bytes);
  return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
  return WithBlock<LPVOID>(memory, nullptr, [](Block& block) {
    if (block.moveable) ++block.locks;
    return block.data;
  });
}

BOOL GlobalUnlock(HGLOBAL memory) {
  return WithBlock<BOOL>(memory, FALSE, [](Block& block) -> BOOL {
    if (!block.moveable) {
      SetLastError(NO_ERROR);
      return FALSE;
    }
    if (block.locks == 0) {
      SetLastError(ERROR_NOT_LOCKED);
      return FALSE;
    }
    --block.locks;
    if (block.locks == 0) SetLastError(NO_ERROR);
    return block.locks != 0;
  });
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (memory == nullptr) return nullptr;
  std::optional<Block> block = Heap().Take(memory);
  if (!block) {
    Heap().ReportBadHandle();
    return memory;
  }
  // The address is forgotten before it goes back to malloc, which may hand it out again.
  ForgetKnownMemory(block->data);
  {
    Owners& owners = BlockOwners();
    std::lock_guard lock(owners.mutex);
    owners.byAddress.erase(block->data);
  }
  std::free(block->data);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  return WithBlock<SIZE_T>(memory, 0, [](Block& block) { return block.size; });
}

HGLOBAL GlobalHandle(LPCVOID memory) {
  Owners& owners = BlockOwners();
  std::lock_guard lock(owners.mutex);
  auto it = owners.byAddress.find(memory);
  if (it == owners.byAddress.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}
