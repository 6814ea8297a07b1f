// Blocks of memory whose extent the platform knows: global memory blocks and registered
// resources. Readers of data that the platform's API passes only by address (dialog
// templates) use it to stay inside the block that holds the address.
#pragma once

#include <cstddef>

// Records [begin, begin + size) as known; a block recorded again replaces the old extent.
void RecordKnownMemory(const void* begin, std::size_t size);
void ForgetKnownMemory(const void* begin);
// The number of bytes from address to the end of the known block holding it; 0 when no known
// block holds it.
std::size_t KnownBytesFrom(const void* address);
