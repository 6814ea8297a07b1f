#include "core/kernel/KnownMemory.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace {

struct KnownBlocks {
  std::mutex mutex;
  // By start address; std::less gives the total order that raw pointer comparison lacks.
  std::map<const void*, std::size_t, std::less<>> sizes;
};

KnownBlocks& Blocks() {
  static auto* blocks = new KnownBlocks;  // never destroyed: global blocks may be freed at exit
  return *blocks;
}

}  // namespace

void RecordKnownMemory(const void* begin, std::size_t size) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  blocks.sizes[begin] = size;
}

void ForgetKnownMemory(const void* begin) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  blocks.sizes.erase(begin);
}

std::size_t KnownBytesFrom(const void* address) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  auto it = blocks.sizes.upper_bound(address);
  if (it == blocks.sizes.begin()) return 0;
  --it;
  auto start = reinterpret_cast<std::uintptr_t>(it->first);
  auto at = reinterpret_cast<std::uintptr_t>(address);
  if (at - start >= it->second) return 0;
  return it->second - (at - start);
}
