// The placement written to the application's profile.
#include "resizable/ResizableWndState.h"

#include <gtest/gtest.h>

#include <string>

#include "TestApp.h"

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

std::u16string Stored(LPCWSTR name) {
  return std::u16string(TestApp().GetProfileStringW(u"ResizableState", name).GetString());
}

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    window_ = ::CreateWindowExW(0, u"Static", u"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 600, 400, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr);
    for (LPCWSTR name : {u"MainWindowPlacement", u"WindowPlacement"}) TestApp().WriteProfileStringW(u"ResizableState", name, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
  }
  HWND window_ = nullptr;
};

TEST_F(WindowStateTest, SavesTheNormalPlacement) {
  PlacementStore store(window_);
  EXPECT_EQ(store.StateSection(), u"ResizableState");
  ASSERT_TRUE(store.SavePlacement(u"Main", FALSE));
  EXPECT_EQ(Stored(u"MainWindowPlacement"), u"100,50,700,450,1,0,-1,-1");
  CStringW text;
  EXPECT_TRUE(store.ReadStateValue(u"MainWindowPlacement", text));
  EXPECT_EQ(text, u"100,50,700,450,1,0,-1,-1");
}

TEST_F(WindowStateTest, MaximisedKeepsTheNormalRectangle) {
  ::ShowWindow(window_, SW_MAXIMIZE);
  PlacementStore store(window_);
  ASSERT_TRUE(store.SavePlacement(u"Main", FALSE));
  EXPECT_EQ(Stored(u"MainWindowPlacement").substr(0, 17), u"100,50,700,450,3,");
  ASSERT_TRUE(store.SavePlacement(u"", TRUE));
  EXPECT_EQ(Stored(u"WindowPlacement"), u"100,50,700,450,1,0,0,0");
}

TEST_F(WindowStateTest, NothingIsWrittenWithoutAPlacement) {
  ::DestroyWindow(window_);
  PlacementStore store(window_);
  EXPECT_FALSE(store.SavePlacement(u"Main", FALSE));
  EXPECT_EQ(Stored(u"MainWindowPlacement"), u"");
  CStringW text;
  EXPECT_FALSE(store.ReadStateValue(u"MainWindowPlacement", text));
}

}  // namespace
