#include "core/kernel/KnownMemory.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace {

struct KnownBlocks {
  std::mutex mutex;
  // By start address; std::less gives the total order that raw pointer comparison lacks.
  std::map<const void*, KnownBlock, std::less<>> blocks;
};

KnownBlocks& Blocks() {
  static auto* blocks = new KnownBlocks;  // never destroyed: global blocks may be freed at exit
  return *blocks;
}

}  // namespace

void RecordKnownMemory(const void* begin, std::size_t size, KnownMemoryKind kind) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  blocks.blocks[begin] = KnownBlock{begin, size, kind};
}

void ForgetKnownMemory(const void* begin) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  blocks.blocks.erase(begin);
}

KnownBlock KnownBlockHolding(const void* address) {
  KnownBlocks& blocks = Blocks();
  std::lock_guard lock(blocks.mutex);
  auto it = blocks.blocks.upper_bound(address);
  if (it == blocks.blocks.begin()) return {};
  --it;
  const auto start = reinterpret_cast<std::uintptr_t>(it->first);
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  if (at - start >= it->second.size) return {};
  return it->second;
}

std::size_t KnownBytesFrom(const void* address) {
  const KnownBlock block = KnownBlockHolding(address);
  if (block.size == 0) return 0;
  return block.size - (reinterpret_cast<std::uintptr_t>(address) - reinterpret_cast<std::uintptr_t>(block.begin));
}
