// Objects the framework makes for handles that no object owns (CWnd::FromHandle,
// CDC::FromHandle). They live until the thread is next idle, as the framework promises.
#pragma once

#include <windows.h>

class CDC;
class CWnd;

CWnd* TemporaryWindowObject(HWND window);
CDC* TemporaryDeviceContextObject(HDC dc);
// Deletes the temporary objects; called when the message loop is idle.
void ReleaseTemporaryObjects();
