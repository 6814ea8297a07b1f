// The thread's WH_CBT hooks as the window manager raises them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/WindowTestSupport.h"

namespace {

// What the hooks saw, newest hook first; the hooks write here through plain functions.
std::vector<std::string> seen;
HHOOK older = nullptr;
HHOOK newer = nullptr;
LRESULT newerAnswer = 0;

LRESULT CALLBACK OlderHook(int code, WPARAM wParam, LPARAM lParam) {
  seen.push_back("older");
  return CallNextHookEx(older, code, wParam, lParam);
}

LRESULT CALLBACK NewerHook(int code, WPARAM wParam, LPARAM lParam) {
  seen.push_back("newer");
  if (code == HCBT_CREATEWND) {
    auto* event = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    // The window exists, and has had no message yet.
    if (IsWindow(reinterpret_cast<HWND>(wParam))) seen.push_back("window");
    event->lpcs->cx = 123;
  }
  if (newerAnswer != 0) return newerAnswer;
  return CallNextHookEx(newer, code, wParam, lParam);
}

class WindowsHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    seen.clear();
    newerAnswer = 0;
    older = SetWindowsHookExW(WH_CBT, OlderHook, nullptr, GetCurrentThreadId());
    newer = SetWindowsHookExW(WH_CBT, NewerHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(older, nullptr);
    ASSERT_NE(newer, nullptr);
  }
  void TearDown() override {
    if (newer != nullptr) UnhookWindowsHookEx(newer);
    if (older != nullptr) UnhookWindowsHookEx(older);
  }
  MessageRecorder recorder_;
};

TEST_F(WindowsHooks, SeeEachNewWindowBeforeItsFirstMessageNewestFirst) {
  // The creation record lives only while the window is made, so it is read as it arrives.
  int createdWidth = 0;
  recorder_.On(WM_NCCREATE, [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    createdWidth = reinterpret_cast<const CREATESTRUCTW*>(lParam)->cx;
    return DefWindowProcW(window, message, wParam, lParam);
  });
  const HWND window = MessageRecorder::Create(WS_POPUP, RECT{0, 0, 10, 10});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"newer", "window", "older"}));
  // The hook's change to the creation record holds.
  EXPECT_EQ(createdWidth, 123);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 123);
  DestroyWindow(window);
}

TEST_F(WindowsHooks, ANonzeroAnswerEndsTheCreation) {
  newerAnswer = 1;
  EXPECT_EQ(MessageRecorder::Create(WS_POPUP, RECT{0, 0, 10, 10}), nullptr);
  EXPECT_TRUE(recorder_.Of(WM_NCCREATE).empty());
  // A removed hook is asked no more.
  ASSERT_TRUE(UnhookWindowsHookEx(newer));
  newer = nullptr;
  seen.clear();
  const HWND window = MessageRecorder::Create(WS_POPUP, RECT{0, 0, 10, 10});
  EXPECT_NE(window, nullptr);
  EXPECT_EQ(seen, std::vector<std::string>{"older"});
  DestroyWindow(window);
}

TEST(WindowsHooksCalls, RefuseWhatCoreDoesNotKeep) {
  SetLastError(0);
  EXPECT_EQ(SetWindowsHookExW(WH_CBT, OlderHook, nullptr, GetCurrentThreadId() + 1), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(SetWindowsHookExW(WH_CBT, nullptr, nullptr, GetCurrentThreadId()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_FALSE(UnhookWindowsHookEx(reinterpret_cast<HHOOK>(0x7777)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HOOK_HANDLE));
}

}  // namespace
