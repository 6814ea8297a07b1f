// Whether a window is on its way out: it or one of its ancestors is being destroyed. A
// child destroyed on its own then would only interleave its messages with its parent's.
#pragma once

#include <windows.h>

bool IsBeingDestroyed(HWND window);
