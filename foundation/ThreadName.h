// The name each thread gives itself, for its log lines and for a debugger.
#pragma once

#include <string>

#include "foundation/ThreadLocalPtr.h"
#include "foundation/UStringRef.h"

// The calling thread's name; null until the thread names itself. Made before main starts and
// destroyed at exit.
ThreadLocalPtr<std::string>& TheThreadName();

// Keeps a copy of name as the calling thread's name (the earlier one is deleted) and tells an
// attached debugger through the platform's thread-naming exception.
void SetThreadName(UStringRef<UTF8> name);
