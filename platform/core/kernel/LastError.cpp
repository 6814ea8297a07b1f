#include "errhandlingapi.h"

namespace {
// The platform keeps the last error per thread; a failing call on one thread never
// changes what another thread reads.
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD errorCode) { lastError = errorCode; }
