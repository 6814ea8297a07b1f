// The layout of a VS_VERSIONINFO block: a header of three 16-bit fields (total length, value
// length, type), the key "VS_VERSION_INFO" with its zero unit, padding to a 4-byte boundary,
// then the VS_FIXEDFILEINFO record as the block's value.
#pragma once

#include <cstddef>

#include "winver.h"

namespace core {

// The block's fixed record when the block is well formed and the record carries its
// signature; null otherwise.
const VS_FIXEDFILEINFO* FindFixedFileInfo(const BYTE* block, std::size_t size);

}  // namespace core
