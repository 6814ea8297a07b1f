// The running system's version, taken from the product version of the system's kernel32.dll
// and, on newer systems, corrected from the registry. Components that cannot be found are 0.
#pragma once

#include "foundation/DottedVersion.h"

// The process-wide version, worked out on the first call and kept; the first call is expected
// on the user-interface thread before any other thread asks.
const DottedVersion& GetSystemVersion();

// Works the version out afresh, without the cache.
DottedVersion ReadSystemVersion();
