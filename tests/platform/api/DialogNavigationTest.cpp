// The dialog manager's focus moves (WM_NEXTDLGCTL).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <windows.h>

namespace {

HWND Button(HWND dialog, DWORD style, int id) {
  return CreateWindowExW(0, u"Button", u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, dialog,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

HWND Group(HWND dialog) {
  return CreateWindowExW(WS_EX_CONTROLPARENT, u"Static", u"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, dialog, nullptr,
                         nullptr, nullptr);
}

TEST(DialogNavigation, NextDlgCtlMovesThroughTheTabStopsAndWrapsAround) {
  const BYTE bytes[24] = {0, 0, 0, 0x80};  // WS_POPUP, no items, no menu, class or title
  HGLOBAL block = GlobalAlloc(GPTR, sizeof(bytes));
  std::memcpy(GlobalLock(block), bytes, sizeof(bytes));
  const HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<LPCDLGTEMPLATE>(GlobalLock(block)), nullptr,
                                                 nullptr, 0);
  ASSERT_NE(dialog, nullptr);
  const HWND first = Button(dialog, WS_TABSTOP, 1);
  Button(dialog, WS_TABSTOP | WS_DISABLED, 2);  // disabled: skipped
  Button(dialog, 0, 3);                         // no tab stop: skipped
  const HWND inner = Button(Group(dialog), WS_TABSTOP, 4);  // inside a control parent
  const HWND last = Button(dialog, WS_TABSTOP, 5);

  struct Step {
    WPARAM wParam;
    LPARAM lParam;
    HWND expected;
  } steps[] = {
      {0, 0, first},   // no focus inside yet: the first stop
      {0, 0, inner},   // next, into the control parent
      {0, 0, last},    //
      {0, 0, first},   // wraps around
      {1, 0, last},    // previous, wrapping back
      {1, 0, inner},   //
      {reinterpret_cast<WPARAM>(first), TRUE, first},  // a given control
  };
  SetFocus(nullptr);
  for (const Step& step : steps) {
    SendMessageW(dialog, WM_NEXTDLGCTL, step.wParam, step.lParam);
    EXPECT_EQ(GetFocus(), step.expected);
  }
  DestroyWindow(dialog);
  GlobalUnlock(block);
  GlobalFree(block);
}

}  // namespace
