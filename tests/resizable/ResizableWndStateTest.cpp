// The placement written to the application's profile.
#include "resizable/ResizableWndState.h"

#include <gtest/gtest.h>

#include <string>

#include "TestApp.h"
#include "WideText.h"

namespace {

class PlacementStore : public CResizableWndState {
 public:
  explicit PlacementStore(HWND host) { host_.Attach(host); }
  ~PlacementStore() override { host_.Detach(); }

 protected:
  CWnd* GetHostWindow() override { return &host_; }

 private:
  CWnd host_;
};

WString Stored(LPCWSTR name) {
  return WString(TestApp().GetProfileStringW(WIDE("ResizableState"), name).GetString());
}

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    window_ = ::CreateWindowExW(0, WIDE("Static"), WIDE(""), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    for (LPCWSTR name : {WIDE("MainWindowPlacement"), WIDE("WindowPlacement")}) TestApp().WriteProfileStringW(WIDE("ResizableState"), name, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
  }
  HWND window_ = nullptr;
};

TEST_F(WindowStateTest, SavesTheNormalPlacement) {
  PlacementStore store(window_);
  EXPECT_EQ(store.StateSection(), WIDE("ResizableState"));
  ASSERT_TRUE(store.SavePlacement(WIDE("Main"), FALSE));
  EXPECT_EQ(Stored(WIDE("MainWindowPlacement")), WIDE("100,50,700,450,1,0,-1,-1"));
  CStringW text;
  EXPECT_TRUE(store.ReadStateValue(WIDE("MainWindowPlacement"), text));
  EXPECT_EQ(text, WIDE("100,50,700,450,1,0,-1,-1"));
}

TEST_F(WindowStateTest, MaximisedKeepsTheNormalRectangle) {
  ::ShowWindow(window_, SW_MAXIMIZE);
  PlacementStore store(window_);
  ASSERT_TRUE(store.SavePlacement(WIDE("Main"), FALSE));
  EXPECT_EQ(Stored(WIDE("MainWindowPlacement")).substr(0, 17), WIDE("100,50,700,450,3,"));
  ASSERT_TRUE(store.SavePlacement(WIDE(""), TRUE));
  EXPECT_EQ(Stored(WIDE("WindowPlacement")), WIDE("100,50,700,450,1,0,0,0"));
}

TEST_F(WindowStateTest, NothingIsWrittenWithoutAPlacement) {
  ::DestroyWindow(window_);
  PlacementStore store(window_);
  EXPECT_FALSE(store.SavePlacement(WIDE("Main"), FALSE));
  EXPECT_EQ(Stored(WIDE("MainWindowPlacement")), WIDE(""));
  CStringW text;
  EXPECT_FALSE(store.ReadStateValue(WIDE("MainWindowPlacement"), text));
}

}  // namespace
