// What the window manager does to a GTK window reaches the platform's window as the
// platform's own messages: the size change's WM_SIZE carries the kind of the state
// (restored, minimised, maximised) and the size the user sees; nothing is sent for what
// already holds. Headless: only the platform's side of the window is there.
#include <gtest/gtest.h>

#include <windows.h>

#include "gtk/WindowShowState.h"
#include "support/WindowTestSupport.h"

namespace {

using gtkui::WindowShowState;

struct SizeMessage {
  WPARAM kind;
  int width;
  int height;
  bool operator==(const SizeMessage&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SizeMessage& m) {
  return out << "kind " << m.kind << " " << m.width << "x" << m.height;
}

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = MessageRecorder::Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, {50, 50, 450, 350});
    ASSERT_NE(window_, nullptr);
    recorder_.Clear();
  }
  void TearDown() override { DestroyWindow(window_); }

  // The WM_SIZE messages since the last call.
  std::vector<SizeMessage> Sizes() {
    std::vector<SizeMessage> sizes;
    for (const RecordedMessage& m : recorder_.Of(WM_SIZE))
      sizes.push_back({m.wParam, LOWORD(m.lParam), HIWORD(m.lParam)});
    recorder_.Clear();
    return sizes;
  }
  RECT ClientOnScreen() {
    RECT r = ClientRectOf(window_);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    OffsetRect(&r, origin.x, origin.y);
    return r;
  }

  MessageRecorder recorder_;
  HWND window_ = nullptr;
};

TEST_F(WindowStateTest, ADragOfTheBorderSizesTheClientAreaToWhatGtkShows) {
  const RECT client{100, 120, 700, 520};
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Normal, &client);
  EXPECT_EQ(Sizes(), (std::vector<SizeMessage>{{SIZE_RESTORED, 600, 400}}));
  EXPECT_EQ(ClientOnScreen(), client);
  // The same again (a configure event that changed nothing) sends nothing.
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Normal, &client);
  EXPECT_TRUE(Sizes().empty());
}

TEST_F(WindowStateTest, MaximiseMinimiseAndRestoreGiveTheirKinds) {
  const RECT screen{0, 0, 1920, 1040};
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Maximized, &screen);
  EXPECT_TRUE(IsZoomed(window_));
  ASSERT_FALSE(Sizes().empty());
  EXPECT_EQ(ClientOnScreen(), screen);

  // Iconified while maximised: the size is not looked at.
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Minimized, &screen);
  EXPECT_TRUE(IsIconic(window_));
  EXPECT_EQ(Sizes(), (std::vector<SizeMessage>{{SIZE_MINIMIZED, 0, 0}}));

  // Back to maximised, then GTK reports a slightly different maximised size.
  const RECT smaller{0, 30, 1920, 1040};
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Maximized, &smaller);
  EXPECT_TRUE(IsZoomed(window_));
  std::vector<SizeMessage> sizes = Sizes();
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), (SizeMessage{SIZE_MAXIMIZED, 1920, 1010}));

  // Restored straight from minimised-while-maximised ends normal, at GTK's normal size.
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Minimized, nullptr);
  Sizes();
  const RECT normal{60, 60, 460, 360};
  gtkui::ApplyGtkWindowState(window_, WindowShowState::Normal, &normal);
  EXPECT_FALSE(IsZoomed(window_));
  EXPECT_FALSE(IsIconic(window_));
  sizes = Sizes();
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), (SizeMessage{SIZE_RESTORED, 400, 300}));
  EXPECT_EQ(ClientOnScreen(), normal);
}

TEST(WindowShowStateTest, IconifiedWinsAndFullScreenCountsAsMaximised) {
  struct Case {
    int state;
    WindowShowState show;
  } cases[] = {
      {0, WindowShowState::Normal},
      {GDK_WINDOW_STATE_FOCUSED | GDK_WINDOW_STATE_TILED, WindowShowState::Normal},
      {GDK_WINDOW_STATE_MAXIMIZED, WindowShowState::Maximized},
      {GDK_WINDOW_STATE_FULLSCREEN, WindowShowState::Maximized},
      {GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_ICONIFIED, WindowShowState::Minimized},
  };
  for (const auto& c : cases) EXPECT_EQ(gtkui::ShowStateOf(static_cast<GdkWindowState>(c.state)), c.show) << c.state;
}

}  // namespace
