// A UTF-8 path as zero-terminated UTF-16 for platform calls, in the long-path form when it is
// too long for the plain one.
#pragma once

#include <cstddef>

#include "foundation/TextEncoding.h"

// Plain when shorter than `limit`; otherwise drive and UNC paths get the "\\?\" prefix
// (with "/" made "\"), unless a "." or ".." component asks for the platform's own
// normalisation. Raises WindowsCharacterSetResult for invalid UTF-8.
TerminatedU16 ToPlatformPath(UStringRef<UTF8> path, std::size_t limit);
