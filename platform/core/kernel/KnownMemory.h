// Blocks of memory whose extent the platform knows: global memory blocks and registered
// resources. VirtualQuery answers from them: the stand-in knows the extent of no other memory.
#pragma once

#include <cstddef>

enum class KnownMemoryKind {
  Private,  // allocated for the process, writable
  Image,    // part of a module's image (resources), read-only
};

struct KnownBlock {
  const void* begin = nullptr;
  std::size_t size = 0;
  KnownMemoryKind kind = KnownMemoryKind::Private;
};

// Records [begin, begin + size) as known; a block recorded again replaces the old extent.
void RecordKnownMemory(const void* begin, std::size_t size, KnownMemoryKind kind = KnownMemoryKind::Private);
void ForgetKnownMemory(const void* begin);
// The known block holding address; its size is 0 when no known block holds it.
KnownBlock KnownBlockHolding(const void* address);
// The number of bytes from address to the end of the known block holding it; 0 when no known
// block holds it.
std::size_t KnownBytesFrom(const void* address);
