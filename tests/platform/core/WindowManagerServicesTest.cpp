// What the presenter plugs into the window manager: the user's sizing loop, the observer that
// learns of every change, and the broadcast of the desktop's changed settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "core/user/DesktopFacts.h"
#include "core/user/UserSizing.h"
#include "core/user/WindowObserver.h"
#include "support/WindowTestSupport.h"

namespace {

constexpr DWORD kSizable = WS_POPUP | WS_CAPTION | WS_THICKFRAME;

TEST_F(WindowManagerTest, UserSizingStopsAtTheTrackingLimitAndKeepsTheOppositeEdge) {
  recorder_.On(WM_GETMINMAXINFO, [](HWND, UINT, WPARAM, LPARAM lp) -> LRESULT {
    reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = POINT{300, 200};
    return 0;
  });
  HWND w = Make(kSizable | WS_VISIBLE, {100, 100, 500, 400});
  recorder_.Clear();
  ASSERT_TRUE(SizeWindowByUser(w, WMSZ_BOTTOMRIGHT, RECT{100, 100, 150, 150}));
  EXPECT_EQ(WindowRectOf(w), (RECT{100, 100, 400, 300}));
  ASSERT_TRUE(SizeWindowByUser(w, WMSZ_LEFT, RECT{350, 100, 400, 300}));
  EXPECT_EQ(WindowRectOf(w), (RECT{100, 100, 400, 300}));  // the right edge stays where it was
  ASSERT_TRUE(SizeWindowByUser(w, WMSZ_TOPLEFT, RECT{50, 60, 400, 300}));
  EXPECT_EQ(WindowRectOf(w), (RECT{50, 60, 400, 300}));
  const auto sequence = recorder_.Sequence({WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE});
  ASSERT_EQ(sequence.size(), 9u);
  EXPECT_EQ(sequence[0].second, static_cast<UINT>(WM_ENTERSIZEMOVE));
  EXPECT_EQ(sequence[2].second, static_cast<UINT>(WM_EXITSIZEMOVE));
  // A size grip's click asks its top-level window for the sizing loop from the lower right.
  struct AskedLoop : core::SizeLoop {
    void Run(HWND window, UINT edge) override {
      askedWindow = window;
      askedEdge = edge;
    }
    HWND askedWindow = nullptr;
    UINT askedEdge = 0;
  };
  const auto asked = std::make_shared<AskedLoop>();
  const std::shared_ptr<core::SizeLoop> previous = core::InstallSizeLoop(asked);
  HWND child = Make(WS_CHILD | WS_VISIBLE, {0, 0, 100, 100}, w, 1);
  HWND grip = CreateWindowExW(0, u"ScrollBar", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 80, 80, 17, 17, child,
                              nullptr, nullptr, nullptr);
  SendMessageW(grip, WM_LBUTTONDOWN, 0, 0);
  core::InstallSizeLoop(previous);
  EXPECT_EQ(asked->askedWindow, w);
  EXPECT_EQ(asked->askedEdge, static_cast<UINT>(WMSZ_BOTTOMRIGHT));
}

TEST_F(WindowManagerTest, TheObserverLearnsOfEachChangeAfterItIsMade) {
  struct Log : core::WindowObserver {
    std::vector<std::pair<std::string, HWND>> events;
    void WindowCreated(HWND w) override { events.emplace_back("created", w); }
    void WindowDestroying(HWND w) override { events.emplace_back(IsWindow(w) ? "destroying" : "gone", w); }
    void WindowMoved(HWND w, const RECT& r) override {
      events.emplace_back("moved to " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                              std::to_string(r.right) + "," + std::to_string(r.bottom),
                          w);
    }
    void WindowVisibilityChanged(HWND w, bool visible) override { events.emplace_back(visible ? "shown" : "hidden", w); }
    void WindowTextChanged(HWND w) override { events.emplace_back("text", w); }
    void WindowIconChanged(HWND w) override { events.emplace_back("icon", w); }
  };
  const auto observer = std::make_shared<Log>();
  const Log& log = *observer;
  const std::shared_ptr<core::WindowObserver> previous = core::InstallWindowObserver(observer);
  HWND top = Make(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = Make(WS_CHILD, {0, 0, 10, 10}, top, 1);
  MoveWindow(child, 5, 5, 10, 10, TRUE);
  MoveWindow(child, 5, 5, 10, 10, TRUE);  // no change, no notice
  HDWP batch = BeginDeferWindowPos(1);
  batch = DeferWindowPos(batch, child, nullptr, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER);
  EndDeferWindowPos(batch);
  ShowWindow(child, SW_SHOW);
  SetWindowTextW(top, u"t");
  SendMessageW(top, WM_SETICON, ICON_BIG, 0);
  DestroyWindow(top);
  core::InstallWindowObserver(previous);
  const std::vector<std::pair<std::string, HWND>> expected{
      {"created", top},  {"shown", top}, {"created", child},    {"moved to 5,5,15,15", child}, {"moved to 5,5,25,25", child},
      {"shown", child},  {"text", top},  {"icon", top},         {"destroying", child}, {"destroying", top}};
  EXPECT_EQ(log.events, expected);
}

TEST_F(WindowManagerTest, ASettingChangeIsSentToEveryTopLevelWindowAndNoChild) {
  HWND first = Make(WS_POPUP, {0, 0, 100, 100});
  HWND second = Make(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
  HWND child = Make(WS_CHILD, {0, 0, 10, 10}, first, 1);
  recorder_.Clear();
  BroadcastSettingChange(SPI_SETNONCLIENTMETRICS, u"WindowMetrics");
  const auto told = recorder_.Of(WM_SETTINGCHANGE);
  std::vector<HWND> windows;
  for (const RecordedMessage& m : told) {
    windows.push_back(m.window);
    EXPECT_EQ(m.wParam, static_cast<WPARAM>(SPI_SETNONCLIENTMETRICS));
    EXPECT_EQ(std::u16string(reinterpret_cast<LPCWSTR>(m.lParam)), u"WindowMetrics");
  }
  EXPECT_EQ(std::count(windows.begin(), windows.end(), first), 1);
  EXPECT_EQ(std::count(windows.begin(), windows.end(), second), 1);
  EXPECT_EQ(std::count(windows.begin(), windows.end(), child), 0);
}

}  // namespace
