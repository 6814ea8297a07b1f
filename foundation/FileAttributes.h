// The platform's attribute bits of a file or folder.
#pragma once

#include <cstdint>

#include "foundation/FileLocation.h"

// All bits set (the platform's invalid-attributes value) for an empty path or a failed call;
// failures are never raised.
std::uint32_t FileAttributes(const FileLocation& location);
