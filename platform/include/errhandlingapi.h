// The calling thread's last error, as the platform keeps it: one value per thread.
#pragma once

#include "windef.h"

DWORD GetLastError();
void SetLastError(DWORD errorCode);
