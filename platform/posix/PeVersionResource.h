// Finds the version resource in the bytes of a PE file (an .exe or .dll): the resource
// directory of the optional header, the RT_VERSION type, its first name (ID 1 when
// present) and its language-neutral entry (else the first language).
#pragma once

#include <cstddef>
#include <vector>

#include "windef.h"

namespace posix {

// The resource's bytes into `resource`, or false with `error` set:
// ERROR_RESOURCE_DATA_NOT_FOUND for bytes that are no PE file or whose tables point outside
// the file, ERROR_RESOURCE_TYPE_NOT_FOUND for a PE file without a version resource.
bool FindPeVersionResource(const BYTE* file, std::size_t size, std::vector<BYTE>& resource, DWORD& error);

}  // namespace posix
