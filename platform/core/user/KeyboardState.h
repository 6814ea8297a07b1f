// The key state GetKeyState reports. The presenter sets it from the desktop's key events;
// tests set it directly.
#pragma once

#include <windows.h>

void SetVirtualKeyDown(int virtualKey, bool down);
void ReleaseAllVirtualKeys();
