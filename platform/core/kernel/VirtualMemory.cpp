// VirtualQuery over the blocks the platform here hands out. Each known block is its own
// region, from its first byte (Windows rounds regions to pages; a reader that stays inside
// the answer is safe either way). Of other memory the stand-in knows no extent, so it fails
// for it rather than answer a region that might end anywhere.
#include "memoryapi.h"

#include <cstdint>

#include "core/kernel/KnownMemory.h"
#include "errhandlingapi.h"
#include "winerror.h"

SIZE_T VirtualQuery(LPCVOID lpAddress, PMEMORY_BASIC_INFORMATION lpBuffer, SIZE_T dwLength) {
  if (lpBuffer == nullptr || dwLength < sizeof(MEMORY_BASIC_INFORMATION)) {
    SetLastError(ERROR_BAD_LENGTH);
    return 0;
  }
  const KnownBlock block = KnownBlockHolding(lpAddress);
  if (block.size == 0) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return 0;
  }
  const DWORD protection = block.kind == KnownMemoryKind::Image ? PAGE_READONLY : PAGE_READWRITE;
  *lpBuffer = MEMORY_BASIC_INFORMATION{};
  lpBuffer->BaseAddress = const_cast<void*>(block.begin);
  lpBuffer->AllocationBase = const_cast<void*>(block.begin);
  lpBuffer->AllocationProtect = protection;
  lpBuffer->RegionSize = block.size;
  lpBuffer->State = MEM_COMMIT;
  lpBuffer->Protect = protection;
  lpBuffer->Type = block.kind == KnownMemoryKind::Image ? MEM_IMAGE : MEM_PRIVATE;
  return sizeof(MEMORY_BASIC_INFORMATION);
}
