// The layout engine on the platform's windows: placement through the window calls, the move flags the
// controls receive, the resize-support queries, the erase region and a failed deferral.
#include "resizable/ResizableLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <vector>

#include <afxwin.h>

#include "WideText.h"
#ifndef _WIN32
#include "core/kernel/ModuleFileName.h"
#endif

namespace {

// A control whose procedure records what the engine asks and how it is moved, and answers the
// resize-support queries when told to.
struct Probe {
  bool answers = false;
  ResizeProperties properties{};  // the answer to query 101
  BOOL clipping = FALSE;          // the answer to query 102
  BOOL refresh = FALSE;           // the answer to query 103
  int asked[3] = {0, 0, 0};       // queries 101, 102, 103
  std::vector<RefreshQuery> refreshQueries;
  std::vector<UINT> moveFlags;    // of each WM_WINDOWPOSCHANGING
  LRESULT hitTest = 0;            // answered to WM_NCHITTEST when not 0
  LPARAM hitPoint = 0;            // where WM_NCHITTEST asked
};

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* probe = reinterpret_cast<Probe*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (probe && message == ResizeSupportMessage() && wParam >= ResizeQueryProperties && wParam <= ResizeQueryRefresh) {
    ++probe->asked[wParam - ResizeQueryProperties];
    if (wParam == ResizeQueryRefresh) probe->refreshQueries.push_back(*reinterpret_cast<RefreshQuery*>(lParam));
    if (!probe->answers) return 0;
    switch (wParam) {
      case ResizeQueryProperties:
        *reinterpret_cast<ResizeProperties*>(lParam) = probe->properties;
        break;
      case ResizeQueryClipping:
        *reinterpret_cast<BOOL*>(lParam) = probe->clipping;
        break;
      case ResizeQueryRefresh:
        reinterpret_cast<RefreshQuery*>(lParam)->needsRefresh = probe->refresh;
        break;
    }
    return 1;
  }
  if (probe && message == WM_WINDOWPOSCHANGING) probe->moveFlags.push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
  return ::DefWindowProcW(window, message, wParam, lParam);
}

const WCHAR kProbeClass[] = WIDE("LayoutTestProbe");

// System controls keep their own procedure; this one records their moves on the way to it
// and can answer the hit test in their place.
std::map<HWND, WNDPROC>& OriginalProcedures() {
  static std::map<HWND, WNDPROC> procedures;
  return procedures;
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* probe = reinterpret_cast<Probe*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (probe && message == WM_WINDOWPOSCHANGING) probe->moveFlags.push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
  if (probe && message == WM_NCHITTEST && probe->hitTest != 0) {
    probe->hitPoint = lParam;
    return probe->hitTest;
  }
  return ::CallWindowProcW(OriginalProcedures()[window], window, message, wParam, lParam);
}

HWND RecordMoves(HWND control, Probe& probe) {
  ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
  OriginalProcedures()[control] = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingProc)));
  return control;
}

void RegisterProbeClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = kProbeClass;
    return ::RegisterClassW(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
}

class TestLayout : public CResizableLayout {
 public:
  explicit TestLayout(HWND host) { hostObject_.Attach(host); }
  ~TestLayout() override { hostObject_.Detach(); }

 protected:
  CWnd* GetHostWindow() override { return &hostObject_; }

 private:
  CWnd hostObject_;
};

RECT RectIn(HWND host, HWND control) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

::testing::AssertionResult IsRect(const RECT& r, LONG l, LONG t, LONG rt, LONG b) {
  if (r.left == l && r.top == t && r.right == rt && r.bottom == b) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom
                                       << ") instead of (" << l << ", " << t << ", " << rt << ", " << b << ")";
}

// A frameless host whose client area is exactly its size.
class LayoutOnWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterProbeClass();
    host_ = ::CreateWindowExW(0, WIDE("Static"), WIDE("host"), WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                              nullptr);
    ASSERT_NE(host_, nullptr);
    layout_ = std::make_unique<TestLayout>(host_);
  }
  void TearDown() override {
    layout_.reset();
    if (host_) ::DestroyWindow(host_);
  }

  HWND Control(LPCWSTR className, DWORD style, int l, int t, int r, int b) {
    return ::CreateWindowExW(0, className, WIDE(""), WS_CHILD | WS_VISIBLE | style, l, t, r - l, b - t, host_, nullptr,
                             nullptr, nullptr);
  }
  HWND Static(int l, int t, int r, int b, DWORD style = SS_LEFT) { return Control(WIDE("Static"), style, l, t, r, b); }
  // Whether the erase after ClipForErase would paint the point.
  bool Erased(POINT p) {
    HDC dc = ::GetDC(host_);
    layout_->ClipForErase(dc);
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    const bool erased = ::GetClipRgn(dc, clip) == 1 && ::PtInRegion(clip, p.x, p.y);
    ::DeleteObject(clip);
    ::ReleaseDC(host_, dc);
    return erased;
  }
  HWND ProbeControl(Probe& probe, int l, int t, int r, int b) {
    HWND w = ::CreateWindowExW(0, kProbeClass, WIDE(""), WS_CHILD | WS_VISIBLE, l, t, r - l, b - t, host_, nullptr, nullptr,
                               nullptr);
    ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&probe));
    return w;
  }
  void ResizeHost(int width, int height) {
    ::SetWindowPos(host_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  HWND host_ = nullptr;
  std::unique_ptr<TestLayout> layout_;
};

TEST_F(LayoutOnWindows, ControlsFollowTheirAnchors) {
  HWND stretched = Static(10, 20, 390, 280);
  HWND centred = Static(150, 130, 250, 170);
  HWND corner = Static(300, 250, 380, 280);
  layout_->AnchorControl(stretched, AnchorTopLeft, AnchorBottomRight);
  layout_->AnchorControl(centred, AnchorMiddleCenter, AnchorMiddleCenter);
  layout_->AnchorControl(corner, AnchorBottomRight, AnchorBottomRight);

  ResizeHost(600, 500);
  layout_->ApplyLayout();
  EXPECT_TRUE(IsRect(RectIn(host_, stretched), 10, 20, 590, 480));
  EXPECT_TRUE(IsRect(RectIn(host_, centred), 250, 230, 350, 270));
  EXPECT_TRUE(IsRect(RectIn(host_, corner), 500, 450, 580, 480));

  // A control moved by other code goes back to its anchored place.
  ::MoveWindow(stretched, 0, 0, 5, 5, TRUE);
  layout_->ApplyLayout();
  EXPECT_TRUE(IsRect(RectIn(host_, stretched), 10, 20, 590, 480));
}

TEST_F(LayoutOnWindows, OnlyChangedControlsAreMovedWithTheirFlags) {
  Probe still, moving, sizing;
  layout_->AnchorControl(ProbeControl(still, 10, 10, 50, 30), AnchorTopLeft, AnchorTopLeft);
  layout_->AnchorControl(ProbeControl(moving, 300, 250, 380, 280), AnchorBottomRight, AnchorBottomRight);
  layout_->AnchorControl(ProbeControl(sizing, 10, 50, 390, 280), AnchorTopLeft, AnchorBottomRight);
  ResizeHost(450, 320);
  layout_->ApplyLayout();

  EXPECT_TRUE(still.moveFlags.empty());
  ASSERT_EQ(moving.moveFlags.size(), 1u);
  EXPECT_EQ(moving.moveFlags[0] & (SWP_NOMOVE | SWP_NOSIZE), static_cast<UINT>(SWP_NOSIZE));
  constexpr UINT kKeepsOrderAndActivation = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  EXPECT_EQ(moving.moveFlags[0] & kKeepsOrderAndActivation, kKeepsOrderAndActivation);
  ASSERT_EQ(sizing.moveFlags.size(), 1u);
  EXPECT_EQ(sizing.moveFlags[0] & (SWP_NOMOVE | SWP_NOSIZE), static_cast<UINT>(SWP_NOMOVE));
  // An unknown class never asks for a full repaint.
  EXPECT_EQ(sizing.moveFlags[0] & SWP_NOCOPYBITS, 0u);
}

TEST_F(LayoutOnWindows, StaticTextThatGetsWiderRepaintsInFull) {
  Probe text, image;
  HWND textWindow = RecordMoves(Static(10, 10, 110, 30, SS_LEFT), text);
  HWND imageWindow = RecordMoves(Static(10, 40, 110, 60, SS_LEFT | SS_CENTERIMAGE), image);
  layout_->AnchorControl(textWindow, AnchorTopLeft, {50, 50});
  layout_->AnchorControl(imageWindow, AnchorTopLeft, {0, 50});

  ResizeHost(420, 300);  // the text gets wider, the image stays
  layout_->ApplyLayout();
  ASSERT_EQ(text.moveFlags.size(), 1u);
  EXPECT_NE(text.moveFlags[0] & SWP_NOCOPYBITS, 0u);
  EXPECT_TRUE(image.moveFlags.empty());

  ResizeHost(420, 340);  // both only get taller
  layout_->ApplyLayout();
  ASSERT_EQ(text.moveFlags.size(), 2u);
  EXPECT_EQ(text.moveFlags[1] & SWP_NOCOPYBITS, 0u);
  ASSERT_EQ(image.moveFlags.size(), 1u);
  EXPECT_NE(image.moveFlags[0] & SWP_NOCOPYBITS, 0u);
}

TEST_F(LayoutOnWindows, QueriesOfAnAnsweringControl) {
  Probe asker;
  asker.answers = true;
  asker.properties = {FALSE, TRUE, TRUE, FALSE};  // clipping cached (true), repaint asked each time
  asker.refresh = TRUE;
  HWND control = ProbeControl(asker, 10, 10, 110, 60);
  layout_->AnchorControl(control, AnchorTopLeft, AnchorBottomRight);
  EXPECT_EQ(asker.asked[0], 1);

  // Asked also when its rectangle does not change: the decision comes before the move flags.
  layout_->ApplyLayout();
  EXPECT_EQ(asker.asked[2], 1);
  EXPECT_TRUE(asker.moveFlags.empty());

  ResizeHost(420, 300);
  layout_->ApplyLayout();
  ASSERT_EQ(asker.asked[2], 2);
  const RefreshQuery& q = asker.refreshQueries.back();
  EXPECT_TRUE(IsRect(q.oldRect, 10, 10, 110, 60));
  EXPECT_TRUE(IsRect(q.newRect, 10, 10, 130, 60));
  ASSERT_EQ(asker.moveFlags.size(), 1u);
  EXPECT_NE(asker.moveFlags[0] & SWP_NOCOPYBITS, 0u);

  // The cached clipping is used without asking: the control is cut out of the erase.
  HDC dc = ::GetDC(host_);
  EXPECT_TRUE(layout_->ClipForErase(dc));
  EXPECT_EQ(asker.asked[1], 0);
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(::GetClipRgn(dc, clip), 1);
  EXPECT_FALSE(::PtInRegion(clip, 20, 20));
  EXPECT_TRUE(::PtInRegion(clip, 200, 200));
  ::DeleteObject(clip);
  ::ReleaseDC(host_, dc);
}

TEST_F(LayoutOnWindows, AControlThatDoesNotAnswerIsProbedOnceAndRuledByItsClass) {
  Probe silent;
  layout_->AnchorControl(ProbeControl(silent, 10, 10, 110, 60), AnchorTopLeft, AnchorBottomRight);
  ResizeHost(420, 300);
  layout_->ApplyLayout();
  HDC dc = ::GetDC(host_);
  layout_->ClipForErase(dc);
  ::ReleaseDC(host_, dc);
  EXPECT_EQ(silent.asked[0], 1);
  EXPECT_EQ(silent.asked[1], 0);
  EXPECT_EQ(silent.asked[2], 0);
}

TEST_F(LayoutOnWindows, EraseRegionFollowsTheControlsInOrder) {
  HWND text = Static(10, 10, 60, 30);                       // clips: cut out
  HWND frame = Static(100, 100, 200, 200, SS_BLACKFRAME);   // does not clip: given back
  HWND inside = Static(120, 120, 140, 140);                 // inside the frame, merged before it
  HWND hidden = Static(250, 10, 300, 60);                   // invisible: neither
  Probe shaped;
  HWND triangle = ProbeControl(shaped, 300, 200, 340, 240);  // a window region: only it is cut
  ::ShowWindow(hidden, SW_HIDE);
  const POINT corner[3] = {{0, 40}, {40, 40}, {40, 0}};
  ::SetWindowRgn(triangle, ::CreatePolygonRgn(corner, 3, WINDING), FALSE);
  layout_->AnchorControl(text, AnchorTopLeft, AnchorTopLeft);
  layout_->AnchorControl(inside, AnchorTopLeft, AnchorTopLeft);
  layout_->AnchorControl(frame, AnchorTopLeft, AnchorTopLeft);
  layout_->AnchorControl(hidden, AnchorTopLeft, AnchorTopLeft);
  layout_->AnchorControl(triangle, AnchorTopLeft, AnchorTopLeft);

  HDC dc = ::GetDC(host_);
  ASSERT_TRUE(layout_->ClipForErase(dc));
  HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_EQ(::GetClipRgn(dc, clip), 1);
  EXPECT_FALSE(::PtInRegion(clip, 20, 20));    // the text
  EXPECT_TRUE(::PtInRegion(clip, 130, 130));   // inside the frame, given back by it
  EXPECT_TRUE(::PtInRegion(clip, 260, 20));    // the hidden control
  EXPECT_FALSE(::PtInRegion(clip, 335, 235));  // the triangle's lower right
  EXPECT_TRUE(::PtInRegion(clip, 305, 205));   // outside its triangle
  EXPECT_TRUE(::PtInRegion(clip, 390, 290));
  ::DeleteObject(clip);
  ::ReleaseDC(host_, dc);

  // The context of another window is left as it is.
  HDC other = ::GetDC(text);
  EXPECT_FALSE(layout_->ClipForErase(other));
  HRGN none = ::CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(::GetClipRgn(other, none), 0);
  ::DeleteObject(none);
  ::ReleaseDC(text, other);
}

TEST_F(LayoutOnWindows, ButtonsClipUnlessGroupBoxesOrTransparentOwnerDrawn) {
  Probe transparent;
  transparent.hitTest = HTTRANSPARENT;
  HWND push = Control(WIDE("Button"), BS_PUSHBUTTON, 10, 10, 60, 30);
  HWND group = Control(WIDE("Button"), BS_GROUPBOX, 100, 10, 200, 100);
  HWND opaque = Control(WIDE("Button"), BS_OWNERDRAW, 10, 50, 60, 70);
  HWND seeThrough = RecordMoves(Control(WIDE("Button"), BS_OWNERDRAW, 10, 80, 60, 100), transparent);
  for (HWND w : {push, group, opaque, seeThrough}) layout_->AnchorControl(w, AnchorTopLeft, AnchorTopLeft);
  EXPECT_FALSE(Erased({20, 20}));
  EXPECT_TRUE(Erased({150, 50}));
  EXPECT_FALSE(Erased({20, 60}));
  EXPECT_TRUE(Erased({20, 90}));
  // Asked at the client area's top-left corner in screen coordinates (the host sits at 0, 0).
  EXPECT_EQ(transparent.hitPoint, MAKELPARAM(10, 80));
}

TEST_F(LayoutOnWindows, ListBoxRepaintsWhenWideningShowsSpaceBeyondItsRange) {
  struct Case {
    const char* what;
    bool range;
    int pos;
    bool repaint;
  } const cases[] = {
      {"scrolled to the end", true, 90, true},   // maxPos 100, 90 + 30 > 100
      {"scrolled less far", true, 60, false},
      {"no horizontal range", false, 0, false},  // GetScrollInfo fails: nothing to show beyond
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResizeHost(400, 300);
    Probe probe;
    HWND list = RecordMoves(Control(WIDE("ListBox"), c.range ? WS_HSCROLL : 0, 10, 10, 110, 110), probe);
    if (c.range) {
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 199, 100, c.pos, 0};
      ::SetScrollInfo(list, SB_HORZ, &info, FALSE);
    }
    layout_->AnchorControl(list, AnchorTopLeft, AnchorTopRight);
    ResizeHost(430, 300);
    // Only the layout's own move counts: on Windows, a scroll bar that the range shows moves
    // the list's frame as well.
    probe.moveFlags.clear();
    layout_->ApplyLayout();
    ASSERT_EQ(probe.moveFlags.size(), 1u);
    EXPECT_EQ((probe.moveFlags[0] & SWP_NOCOPYBITS) != 0, c.repaint);
    layout_->ClearLayout();
    ::DestroyWindow(list);
  }
}

// A derived engine that places callback entries itself: entry 1 at (5, 5, 25, 25), entry 2 never.
class CallbackLayout : public TestLayout {
 public:
  using TestLayout::TestLayout;
  void AddCallback(HWND window, UINT_PTR id) {
    LAYOUTINFO entry;
    entry.window = window;
    entry.callbackId = id;
    ::GetClassNameW(window, entry.className, 260);
    AddCallbackEntry(entry);
  }

 protected:
  bool SupplyCallbackLayout(LAYOUTINFO& entry) override {
    if (entry.callbackId != 1) return false;
    entry.anchorTopLeft = AnchorTopLeft;
    entry.offsetTopLeft = {5, 5};
    entry.anchorBottomRight = AnchorTopLeft;
    entry.offsetBottomRight = {25, 25};
    return true;
  }
};

TEST_F(LayoutOnWindows, CallbackEntriesAreSuppliedAfterThePlainOnes) {
  CallbackLayout layout(host_);
  HWND supplied = Static(100, 100, 150, 150);
  HWND skipped = Static(200, 100, 250, 150);
  layout.AnchorControl(supplied, AnchorTopLeft, AnchorBottomRight);  // overridden by the callback
  layout.AddCallback(supplied, 1);
  layout.AddCallback(skipped, 2);
  ResizeHost(500, 400);
  layout.ApplyLayout();
  EXPECT_TRUE(IsRect(RectIn(host_, supplied), 5, 5, 25, 25));
  EXPECT_TRUE(IsRect(RectIn(host_, skipped), 200, 100, 250, 150));
}

// A control destroyed after it was anchored makes its own deferral fail; the other moves of
// the arrangement still happen.
TEST_F(LayoutOnWindows, AFailedDeferralSkipsOnlyThatControl) {
  HWND first = Static(10, 10, 110, 60);
  HWND gone = Static(10, 70, 110, 120);
  HWND last = Static(10, 130, 110, 180);
  for (HWND w : {first, gone, last}) layout_->AnchorControl(w, AnchorTopLeft, AnchorTopRight);
  ::DestroyWindow(gone);
  ResizeHost(450, 300);
  layout_->ApplyLayout();
  EXPECT_TRUE(IsRect(RectIn(host_, first), 10, 10, 160, 60));
  EXPECT_TRUE(IsRect(RectIn(host_, last), 10, 130, 160, 180));
}

#ifndef _WIN32
// The executable's name is read once per process, so each case runs in a process of its own.
// Only the stand-in lets a test name the executable; the Windows build's death tests would
// also need a debugger-free crash path under Wine.
TEST(LayoutClientUi, RightEdgeOutsideTheAreaIsClampedOnlyInTheClientUi) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto rightEdgeAfterGrowing = [](const WCHAR* exe, AnchorPoint topLeft) {
    SetModuleFileName(exe);
    HWND host = ::CreateWindowExW(0, WIDE("Static"), WIDE(""), WS_POPUP, 0, 0, 500, 300, nullptr, nullptr, nullptr, nullptr);
    HWND control = ::CreateWindowExW(0, WIDE("Static"), WIDE(""), WS_CHILD, 12, 10, 498, 280, host, nullptr, nullptr, nullptr);
    TestLayout layout(host);
    layout.AnchorControl(control, topLeft, AnchorBottomRight);
    ::SetWindowPos(host, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    layout.ApplyLayout();
    std::exit(static_cast<int>(RectIn(host, control).right - 500));
  };
  // Anchored at x 0: the right margin becomes the left one (488 - 500 + 600 = 588).
  EXPECT_EXIT(rightEdgeAfterGrowing(WIDE("C:\\Tessarin\\tsrclientUI.EXE"), AnchorTopLeft), ::testing::ExitedWithCode(88), "");
  // Anchored off 0: the area's edge (500 - 500 + 600).
  EXPECT_EXIT(rightEdgeAfterGrowing(WIDE("C:\\Tessarin\\TsrClientUI.exe"), {50, 0}), ::testing::ExitedWithCode(100), "");
  // Any other process keeps the edge at 510 (610).
  EXPECT_EXIT(rightEdgeAfterGrowing(WIDE("C:\\Tessarin\\TsrRunvane.exe"), AnchorTopLeft), ::testing::ExitedWithCode(110), "");
}
#endif

}  // namespace
