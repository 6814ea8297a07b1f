// The thickness of a window's non-client parts under its style: the border that the frame
// styles give, the caption, the menu bar and the scroll bars. AdjustWindowRectEx and the
// default WM_NCCALCSIZE both come from here, so a client rectangle turned into a window
// rectangle and back comes out unchanged.
#pragma once

#include <windows.h>

struct FrameInsets {
  int left;
  int top;
  int right;
  int bottom;
};

// Border, caption and menu; what AdjustWindowRectEx adds.
FrameInsets WindowFrameInsets(DWORD style, DWORD exStyle, bool hasMenu);
// The frame plus the scroll bars that WS_VSCROLL and WS_HSCROLL show.
FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu);
