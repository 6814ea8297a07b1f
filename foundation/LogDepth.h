// The calling thread's log nesting depth: each level indents the thread's log lines by two
// spaces. A thread without a value is at depth 0.
#pragma once

#include <cstdint>

#include "foundation/ThreadLocalPtr.h"

// Made before main starts and destroyed at exit.
ThreadLocalPtr<std::uint32_t>& TheLogDepth();
