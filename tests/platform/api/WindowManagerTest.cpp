// The window manager's behaviour where callers rely on its detail: message order, client
// rectangles under a style, positioning flags, deferred batches, size kinds and limits.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/WindowTestSupport.h"

namespace {

constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_THICKFRAME;

TEST_F(WindowManagerTest, CreationSendsTheMessagesInThePlatformsOrder) {
  HWND top = Make(kSizable, {10, 10, 310, 210});
  const auto sequence = recorder_.Sequence({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE});
  const std::vector<std::pair<HWND, UINT>> expected{{top, WM_GETMINMAXINFO}, {top, WM_NCCREATE}, {top, WM_NCCALCSIZE},
                                                    {top, WM_CREATE},        {top, WM_SIZE},     {top, WM_MOVE}};
  EXPECT_EQ(sequence, expected);
  // A popup without a sizing border is not asked for its limits.
  recorder_.Clear();
  Make(WS_POPUP | WS_CAPTION, {0, 0, 100, 100});
  EXPECT_TRUE(recorder_.Of(WM_GETMINMAXINFO).empty());
}

TEST_F(WindowManagerTest, DestructionReachesChildrenAfterTheirParentAndEndsInnermostFirst) {
  HWND parent = Make(WS_POPUP, {0, 0, 200, 200});
  HWND child = Make(WS_CHILD, {0, 0, 100, 100}, parent, 1);
  HWND grandchild = Make(WS_CHILD, {0, 0, 50, 50}, child, 2);
  HWND sibling = Make(WS_CHILD, {100, 0, 200, 100}, parent, 3);
  recorder_.Clear();
  ASSERT_TRUE(DestroyWindow(parent));
  const std::vector<std::pair<HWND, UINT>> expected{
      {parent, WM_DESTROY},       {child, WM_DESTROY},      {grandchild, WM_DESTROY}, {sibling, WM_DESTROY},
      {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY},    {sibling, WM_NCDESTROY},  {parent, WM_NCDESTROY}};
  EXPECT_EQ(recorder_.Sequence({WM_DESTROY, WM_NCDESTROY}), expected);
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(grandchild));
  SetLastError(0);
  EXPECT_FALSE(SetWindowPos(child, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowManagerTest, NcCreateHandlerMayResizeThroughTheCreationRecordOrRefuse) {
  recorder_.On(WM_NCCREATE, [](HWND w, UINT m, WPARAM wp, LPARAM lp) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    cs->cx += 40;
    cs->cy += 20;
    return DefWindowProcW(w, m, wp, lp);
  });
  HWND grown = Make(WS_POPUP, {5, 5, 105, 55});
  EXPECT_EQ(WindowRectOf(grown), (RECT{5, 5, 145, 75}));
  EXPECT_EQ(ClientRectOf(grown), (RECT{0, 0, 140, 70}));

  recorder_.On(WM_NCCREATE, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return FALSE; });
  recorder_.Clear();
  HWND refused = MessageRecorder::Create(WS_POPUP, {0, 0, 10, 10});
  EXPECT_EQ(refused, nullptr);
  // The half-made window still gets its last message, and no WM_CREATE.
  EXPECT_EQ(recorder_.Of(WM_NCDESTROY).size(), 1u);
  EXPECT_TRUE(recorder_.Of(WM_CREATE).empty());
}

TEST_F(WindowManagerTest, ClientAreaLiesInsideTheFrameThatTheStyleGives) {
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int thick = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  const int fixed = GetSystemMetrics(SM_CXDLGFRAME);
  struct Case {
    const char* name;
    DWORD style;
    DWORD exStyle;
    int left, top, right, bottom;  // frame thickness per side
  } cases[] = {
      {"bare popup", WS_POPUP, 0, 0, 0, 0, 0},
      {"border", WS_POPUP | WS_BORDER, 0, 1, 1, 1, 1},
      {"caption", WS_POPUP | WS_CAPTION, 0, fixed, fixed + caption, fixed, fixed},
      {"modal frame", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, fixed, fixed + caption, fixed, fixed},
      {"sizing border", WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, thick, thick + caption, thick, thick},
      {"sizing border wins over modal frame", WS_POPUP | WS_CAPTION | WS_THICKFRAME, WS_EX_DLGMODALFRAME, thick,
       thick + caption, thick, thick},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, 2, 2, 2, 2},
      {"scroll bars", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, GetSystemMetrics(SM_CXVSCROLL),
       GetSystemMetrics(SM_CYHSCROLL)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(c.style, {100, 100, 500, 400}, nullptr, 0, c.exStyle);
    EXPECT_EQ(ClientRectOf(w), (RECT{0, 0, 400 - c.left - c.right, 300 - c.top - c.bottom}));
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.x, 100 + c.left);
    EXPECT_EQ(origin.y, 100 + c.top);
    // AdjustWindowRectEx gives back the window rectangle (scroll bars are not part of it).
    if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
      RECT r = ClientRectOf(w);
      ASSERT_TRUE(AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), FALSE,
                                     static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE))));
      EXPECT_EQ(r.right - r.left, 400);
      EXPECT_EQ(r.bottom - r.top, 300);
    }
  }
}

TEST_F(WindowManagerTest, StyleChangeTakesEffectOnTheFrameAtTheNextSizeChange) {
  HWND w = Make(WS_POPUP | WS_CAPTION, {0, 0, 300, 200}, nullptr, 0, WS_EX_DLGMODALFRAME);
  const RECT before = ClientRectOf(w);
  SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE) | WS_THICKFRAME);
  EXPECT_EQ(ClientRectOf(w), before);
  RECT grown = before;
  AdjustWindowRectEx(&grown, static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE)));
  SetWindowPos(w, nullptr, 0, 0, grown.right - grown.left, grown.bottom - grown.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  EXPECT_EQ(ClientRectOf(w), before);
}

TEST_F(WindowManagerTest, SetWindowPosFlagsKeepWhatTheyName) {
  HWND parent = Make(WS_POPUP, {0, 0, 400, 400});
  HWND a = Make(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, parent, 1);
  HWND b = Make(WS_CHILD | WS_VISIBLE, {20, 20, 70, 70}, parent, 2);
  recorder_.Clear();
  SetWindowPos(a, nullptr, 100, 100, 30, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRectOf(a), (RECT{10, 10, 40, 50}));
  SetWindowPos(a, nullptr, 100, 100, 1, 1, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowRectOf(a), (RECT{100, 100, 130, 140}));
  // A move alone changes no client size: WM_MOVE but no WM_SIZE for it.
  EXPECT_EQ(recorder_.Of(WM_SIZE).size(), 1u);
  EXPECT_EQ(recorder_.Of(WM_MOVE).size(), 1u);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), a);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), b);
  SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  EXPECT_FALSE(IsWindowVisible(a));
  SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  EXPECT_FALSE(IsWindowVisible(a));  // its parent is still hidden
  ShowWindow(parent, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(a));
}

TEST_F(WindowManagerTest, WindowPosChangingMayAlterTheMoveUnlessNotSent) {
  HWND w = Make(WS_POPUP, {0, 0, 100, 100});
  recorder_.On(WM_WINDOWPOSCHANGING, [](HWND, UINT, WPARAM, LPARAM lp) -> LRESULT {
    reinterpret_cast<WINDOWPOS*>(lp)->cx = 77;
    return 0;
  });
  SetWindowPos(w, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRectOf(w).right, 77);
  SetWindowPos(w, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOSENDCHANGING);
  EXPECT_EQ(WindowRectOf(w).right, 50);
}

TEST_F(WindowManagerTest, DeferredMovesAllTakeEffectTogetherAtTheEnd) {
  HWND parent = Make(WS_POPUP, {0, 0, 400, 400});
  HWND a = Make(WS_CHILD, {0, 0, 10, 10}, parent, 1);
  HWND b = Make(WS_CHILD, {0, 20, 10, 30}, parent, 2);
  HWND dead = Make(WS_CHILD, {0, 40, 10, 50}, parent, 3);
  DestroyWindow(dead);
  // What each window sees of the other when it is told of its own move.
  std::map<HWND, RECT> otherSeen;
  recorder_.On(WM_WINDOWPOSCHANGED, [&](HWND w, UINT m, WPARAM wp, LPARAM lp) {
    otherSeen[w] = WindowRectOf(w == a ? b : a);
    return DefWindowProcW(w, m, wp, lp);
  });
  HDWP batch = BeginDeferWindowPos(3);
  ASSERT_NE(batch, nullptr);
  batch = DeferWindowPos(batch, a, nullptr, 100, 100, 20, 20, SWP_NOZORDER);
  ASSERT_NE(batch, nullptr);
  // The dead window's entry fails, but the batch lives on under its handle.
  SetLastError(0);
  EXPECT_EQ(DeferWindowPos(batch, dead, nullptr, 1, 1, 1, 1, SWP_NOZORDER), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  batch = DeferWindowPos(batch, b, nullptr, 200, 200, 20, 20, SWP_NOZORDER);
  ASSERT_NE(batch, nullptr);
  EXPECT_EQ(WindowRectOf(a), (RECT{0, 0, 10, 10}));  // nothing moved yet
  ASSERT_TRUE(EndDeferWindowPos(batch));
  EXPECT_EQ(WindowRectOf(a), (RECT{100, 100, 120, 120}));
  EXPECT_EQ(WindowRectOf(b), (RECT{200, 200, 220, 220}));
  EXPECT_EQ(otherSeen[a], (RECT{200, 200, 220, 220}));
  EXPECT_EQ(otherSeen[b], (RECT{100, 100, 120, 120}));
  // The batch is gone once ended.
  EXPECT_FALSE(EndDeferWindowPos(batch));
}

TEST_F(WindowManagerTest, SizeKindsFollowMinimiseMaximiseAndRestore) {
  HWND w = Make(kSizable | WS_VISIBLE, {100, 100, 500, 400});
  const RECT normal = WindowRectOf(w);
  recorder_.Clear();
  struct Step {
    int command;
    WPARAM kind;
    UINT showCmd;
  } steps[] = {{SW_MAXIMIZE, SIZE_MAXIMIZED, SW_SHOWMAXIMIZED},
               {SW_MINIMIZE, SIZE_MINIMIZED, SW_SHOWMINIMIZED},
               {SW_RESTORE, SIZE_MAXIMIZED, SW_SHOWMAXIMIZED},  // back to where it was minimised from
               {SW_RESTORE, SIZE_RESTORED, SW_SHOWNORMAL}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.command);
    recorder_.Clear();
    ShowWindow(w, s.command);
    const auto sizes = recorder_.Of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, s.kind);
    const RECT client = ClientRectOf(w);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(client.right, client.bottom));
    if (s.kind == SIZE_MINIMIZED) {
      EXPECT_EQ(client, (RECT{0, 0, 0, 0}));
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ASSERT_TRUE(GetWindowPlacement(w, &placement));
    EXPECT_EQ(placement.showCmd, s.showCmd);
    EXPECT_EQ(placement.rcNormalPosition, normal);
  }
  EXPECT_EQ(WindowRectOf(w), normal);
  WINDOWPLACEMENT wrongLength{};
  EXPECT_FALSE(GetWindowPlacement(w, &wrongLength));
}

TEST_F(WindowManagerTest, APlacementSetIsThePlacementRead) {
  HWND w = Make(kSizable | WS_VISIBLE, {0, 0, 200, 100});
  WINDOWPLACEMENT set{};
  set.length = sizeof(set);
  set.showCmd = SW_SHOWMAXIMIZED;
  set.rcNormalPosition = RECT{100, 50, 700, 450};
  set.ptMaxPosition = POINT{-1, -1};
  set.ptMinPosition = POINT{-1, -1};
  ASSERT_TRUE(SetWindowPlacement(w, &set));
  WINDOWPLACEMENT read{};
  read.length = sizeof(read);
  ASSERT_TRUE(GetWindowPlacement(w, &read));
  EXPECT_EQ(read.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(read.rcNormalPosition, (RECT{100, 50, 700, 450}));
  ShowWindow(w, SW_RESTORE);
  EXPECT_EQ(WindowRectOf(w), (RECT{100, 50, 700, 450}));
}

TEST_F(WindowManagerTest, MaximisedClientAreaFillsTheWorkArea) {
  HWND w = Make(kSizable | WS_VISIBLE, {100, 100, 500, 400});
  ShowWindow(w, SW_MAXIMIZE);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT client = ClientRectOf(w);
  EXPECT_EQ(client.right, work.right - work.left);
  EXPECT_EQ(client.bottom, work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION));
}

TEST_F(WindowManagerTest, TrackingLimitsOfASizableWindowHoldItsSize) {
  recorder_.On(WM_GETMINMAXINFO, [](HWND, UINT, WPARAM, LPARAM lp) -> LRESULT {
    auto* info = reinterpret_cast<MINMAXINFO*>(lp);
    info->ptMinTrackSize = POINT{300, 200};
    info->ptMaxTrackSize = POINT{800, 600};
    return 0;
  });
  HWND w = Make(kSizable, {0, 0, 400, 300});
  struct Case {
    int cx, cy, expectedCx, expectedCy;
  } cases[] = {{100, 100, 300, 200}, {500, 400, 500, 400}, {2000, 2000, 800, 600}};
  for (const Case& c : cases) {
    SetWindowPos(w, nullptr, 0, 0, c.cx, c.cy, SWP_NOMOVE | SWP_NOZORDER);
    const RECT r = WindowRectOf(w);
    EXPECT_EQ(r.right - r.left, c.expectedCx);
    EXPECT_EQ(r.bottom - r.top, c.expectedCy);
  }
  // A window without a sizing border is not held to them.
  HWND fixed = Make(WS_POPUP | WS_CAPTION, {0, 0, 400, 300});
  SetWindowPos(fixed, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRectOf(fixed).right, 100);
}

TEST_F(WindowManagerTest, PointsMapBetweenNestedClientAreas) {
  HWND top = Make(WS_POPUP | WS_BORDER, {100, 50, 500, 450});
  HWND child = Make(WS_CHILD, {10, 20, 110, 120}, top, 7);
  HWND inner = Make(WS_CHILD, {5, 5, 25, 25}, child, 8);
  EXPECT_EQ(WindowRectOf(inner), (RECT{116, 76, 136, 96}));
  RECT r = WindowRectOf(inner);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r, (RECT{15, 25, 35, 45}));
  POINT p{116, 76};
  ScreenToClient(child, &p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 5);
  EXPECT_EQ(GetParent(inner), child);
  EXPECT_EQ(GetDlgItem(top, 7), child);
}

TEST_F(WindowManagerTest, SearchesAndNamesFollowTheTree) {
  HWND top = Make(WS_POPUP, {0, 0, 100, 100});
  HWND first = CreateWindowExW(0, u"static", u"one", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  HWND second = CreateWindowExW(0, u"ScrollBar", u"", WS_CHILD | SBS_SIZEGRIP, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  HWND nested = CreateWindowExW(0, u"Static", u"two", WS_CHILD, 0, 0, 10, 10, first, nullptr, nullptr, nullptr);
  WCHAR name[260];
  EXPECT_EQ(GetClassNameW(first, name, 260), 6);
  EXPECT_EQ(std::u16string(name), u"Static");  // as registered, not as asked for
  EXPECT_EQ(GetClassNameW(second, name, 4), 3);
  EXPECT_EQ(std::u16string(name), u"Scr");
  EXPECT_EQ(FindWindowExW(top, nullptr, u"STATIC", nullptr), first);
  EXPECT_EQ(FindWindowExW(top, first, u"static", nullptr), nullptr);  // direct children only
  EXPECT_EQ(FindWindowExW(top, nullptr, nullptr, u"one"), first);
  std::vector<HWND> order;
  EnumChildWindows(
      top, [](HWND w, LPARAM lp) -> BOOL { reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w); return TRUE; },
      reinterpret_cast<LPARAM>(&order));
  EXPECT_EQ(order, (std::vector<HWND>{first, nested, second}));
}

TEST_F(WindowManagerTest, ControlsAnswerTheQueriesOfTheLayoutRules) {
  HWND top = Make(WS_POPUP, {100, 100, 400, 400});
  HWND list = CreateWindowExW(0, u"ListBox", nullptr, WS_CHILD, 10, 10, 100, 100, top, nullptr, nullptr, nullptr);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  SetLastError(0);
  EXPECT_FALSE(GetScrollInfo(list, SB_HORZ, &info));  // no horizontal range yet
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(1447));  // ERROR_NO_SCROLLBARS
  const SCROLLINFO range{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 199, 100, 90, 0};
  SetScrollInfo(list, SB_HORZ, &range, FALSE);
  ASSERT_TRUE(GetScrollInfo(list, SB_HORZ, &info));
  EXPECT_EQ(info.nMax, 199);
  EXPECT_EQ(info.nPage, 100u);
  EXPECT_EQ(info.nPos, 90);
  // WM_NCCALCSIZE without valid-area records turns a window rectangle into the client's.
  HWND button = CreateWindowExW(0, u"Button", nullptr, WS_CHILD | WS_BORDER | BS_OWNERDRAW, 20, 30, 50, 40, top,
                                nullptr, nullptr, nullptr);
  RECT r = WindowRectOf(button);
  EXPECT_EQ(r, (RECT{120, 130, 170, 170}));
  SendMessageW(button, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r, (RECT{121, 131, 169, 169}));
  EXPECT_EQ(SendMessageW(button, WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top)), HTCLIENT);
  HWND group = CreateWindowExW(0, u"Button", nullptr, WS_CHILD | BS_GROUPBOX, 0, 0, 50, 40, top, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageW(group, WM_NCHITTEST, 0, MAKELPARAM(101, 101)), HTTRANSPARENT);
  HWND label = CreateWindowExW(0, u"Static", nullptr, WS_CHILD, 0, 0, 50, 40, top, nullptr, nullptr, nullptr);
  EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, MAKELPARAM(101, 101)), HTTRANSPARENT);
  EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(WindowManagerTest, ParentOfAPopupIsItsOwner) {
  HWND owner = Make(WS_POPUP, {0, 0, 100, 100});
  HWND child = Make(WS_CHILD, {0, 0, 10, 10}, owner, 1);
  HWND popup = Make(WS_POPUP, {0, 0, 50, 50}, child);  // owned by the child's top-level window
  HWND overlapped = Make(WS_OVERLAPPED, {0, 0, 50, 50}, owner);
  EXPECT_EQ(GetParent(popup), owner);
  EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
  EXPECT_EQ(GetParent(overlapped), nullptr);
  // Owned windows go before their owner.
  recorder_.Clear();
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(popup));
  EXPECT_FALSE(IsWindow(overlapped));
  const auto destroyed = recorder_.Of(WM_DESTROY);
  ASSERT_EQ(destroyed.size(), 4u);
  EXPECT_EQ(destroyed[2].window, owner);
}

TEST_F(WindowManagerTest, FocusAndEnablingFollowTheWindows) {
  HWND top = Make(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND a = Make(WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, top, 1);
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(GetFocus(), a);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_FALSE(EnableWindow(top, FALSE));  // was enabled
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(IsWindowEnabled(top));
  EXPECT_EQ(SetFocus(a), nullptr);  // a disabled hierarchy takes no focus
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(EnableWindow(top, TRUE));  // was disabled
  SetFocus(a);
  DestroyWindow(a);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST(WindowMessages, RegisteredNamesGiveOneNumberWhateverTheirCase) {
  const UINT first = RegisterWindowMessageW(u"WMU_RESIZESUPPORT");
  EXPECT_GE(first, 0xC000u);
  EXPECT_LE(first, 0xFFFFu);
  EXPECT_EQ(RegisterWindowMessageW(u"wmu_resizesupport"), first);
  EXPECT_NE(RegisterWindowMessageW(u"WMU_OTHER"), first);
  SetLastError(0);
  EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(WindowMessages, PostedMessagesWaitForTheLoopAndQuitComesLast) {
  MessageRecorder recorder;
  HWND w = MessageRecorder::Create(WS_POPUP, {0, 0, 10, 10});
  PostMessageW(w, WM_USER + 1, 1, 2);
  PostQuitMessage(3);
  PostMessageW(w, WM_USER + 2, 0, 0);
  EXPECT_TRUE(recorder.Of(WM_USER + 1).empty());
  MSG msg;
  std::vector<UINT> seen;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    seen.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(recorder.Of(WM_USER + 1).size(), 1u);
  // A destroyed window's posted messages go with it.
  PostMessageW(w, WM_USER + 3, 0, 0);
  DestroyWindow(w);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(SystemFacts, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {{12, 72, 96, 9}, {13, 72, 96, 10}, {18, 72, 144, 9}, {-13, 72, 96, -10}, {3, 1, 2, 2},
               {-3, 1, 2, -2},  {5, 5, 0, -1},    {0x7FFFFFFF, 2, 1, -1}, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}};
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(SystemFacts, NonClientMetricsCarryTheMessageFont) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  EXPECT_EQ(metrics.lfMessageFont.lfHeight, -12);
  EXPECT_EQ(std::u16string(metrics.lfMessageFont.lfFaceName), u"Segoe UI");
  EXPECT_EQ(metrics.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
  metrics.cbSize = 100;
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 100, &metrics, 0));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
  EXPECT_EQ(WindowFromDC(screen), nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(SystemFacts, ModuleFileNameTruncatesLikeThePlatform) {
  WCHAR buffer[260];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, 260);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(buffer[n], 0);
  EXPECT_EQ(std::u16string(buffer).substr(0, 3), u"Z:\\");
  WCHAR small[4];
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 4), 4u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(small), std::u16string(buffer).substr(0, 3));
}

}  // namespace
