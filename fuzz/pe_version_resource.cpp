// The PE reader on arbitrary bytes: it never reads outside the file (the sanitizers check),
// and what it returns lies inside the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/kernel/VersionBlock.h"
#include "posix/PeVersionResource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size copy, so that a read one byte past the end is caught.
  std::vector<BYTE> file(data, data + size);
  std::vector<BYTE> resource;
  DWORD error = 0;
  if (posix::FindPeVersionResource(file.data(), file.size(), resource, error)) {
    if (resource.empty() || resource.size() > file.size()) std::abort();
    if (std::search(file.begin(), file.end(), resource.begin(), resource.end()) == file.end()) std::abort();
    core::FindFixedFileInfo(resource.data(), resource.size());
  } else if (error == 0) {
    std::abort();
  }
  return 0;
}
