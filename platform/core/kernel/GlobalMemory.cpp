// Global memory blocks. Fixed blocks are their own handles; a moveable block gets a separate
// handle and a lock count, so that code which forgets GlobalLock fails the way it would on
// the platform instead of working by accident.
#include "winbase.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

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

struct GlobalHeap {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, Block> blocks;     // by handle
  std::unordered_map<const void*, HGLOBAL> owners;  // by address
  std::uintptr_t nextMoveableHandle = 0x7F000004;
};

GlobalHeap& Heap() {
  static GlobalHeap heap;
  return heap;
}

// The block behind a handle; an unknown handle sets ERROR_INVALID_HANDLE.
Block* FindOrFail(GlobalHeap& heap, HGLOBAL handle) {
  auto it = heap.blocks.find(handle);
  if (it != heap.blocks.end()) return &it->second;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
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
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  const bool moveable = (flags & GMEM_MOVEABLE) != 0;
  HGLOBAL handle = moveable ? reinterpret_cast<HGLOBAL>(heap.nextMoveableHandle += 8) : data;
  heap.blocks[handle] = Block{data, bytes, moveable, 0};
  heap.owners[data] = handle;
  RecordKnownMemory(data, bytes);
  return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  Block* block = FindOrFail(heap, memory);
  if (block == nullptr) return nullptr;
  if (block->moveable) ++block->locks;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL memory) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  Block* block = FindOrFail(heap, memory);
  if (block == nullptr) return FALSE;
  if (!block->moveable) {
    SetLastError(NO_ERROR);
    return FALSE;
  }
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  --block->locks;
  if (block->locks == 0) SetLastError(NO_ERROR);
  return block->locks != 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  if (memory == nullptr) return nullptr;
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  Block* block = FindOrFail(heap, memory);
  if (block == nullptr) return memory;
  ForgetKnownMemory(block->data);
  heap.owners.erase(block->data);
  std::free(block->data);
  heap.blocks.erase(memory);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  Block* block = FindOrFail(heap, memory);
  if (block == nullptr) return 0;
  return block->size;
}

HGLOBAL GlobalHandle(LPCVOID memory) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  auto it = heap.owners.find(memory);
  if (it == heap.owners.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}
