// The presenter and the WebKit view on a real display (ctest runs this program under
// xvfb-run): pages load under their platform addresses with the host's events in order and
// really show, the host's style sheet stands before the page's, link commands are asked
// about, pages from memory, element content, the selection and script permission act on the
// right document (through the view's module in the web process, which is placed beside this
// program), and the GtkWindow and the platform's window follow each other.
#include <gtest/gtest.h>

#include <glib/gstdio.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "core/com/BrowserEngine.h"
#include "core/kernel/PathMapping.h"
#include "gtk/GtkServices.h"
#include "gtk/WebKitBrowserEngine.h"
#include "gtk/WindowPresenter.h"
#include "posix/WinePrefixPaths.h"

namespace {

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Records what the view reports, in one line per event, and answers as the test says.
class RecordingHost : public core::BrowserHost {
 public:
  std::vector<std::string> events;
  core::UrlActionAnswer scriptAnswer = core::UrlActionAnswer::Allow;
  std::u16string hostSheetRule;  // added to each top-level document at NavigateComplete
  std::u16string laterSheetRule;  // then a second sheet, also put first
  core::BrowserView* view = nullptr;

  int Completed() const {
    int count = 0;
    for (const std::string& e : events) count += e.rfind("completed 0", 0) == 0;
    return count;
  }
  void AddHostSheet(const std::u16string& rule) {
    UINT_PTR sheet = 0;
    ASSERT_EQ(view->CreateStyleSheet(u"", 0, &sheet), S_OK);
    LONG at = -1;
    ASSERT_EQ(view->AddRule(sheet, u"body", rule, -1, &at), S_OK);
    EXPECT_EQ(at, 0);
  }

  bool BeforeNavigate(const core::BrowserNavigation& n) override {
    events.push_back("before " + std::to_string(n.frame) + " " + Narrow(n.url));
    return n.url.rfind(u"openfolder:", 0) == 0;
  }
  void NavigateComplete(core::BrowserFrame frame, std::u16string_view url) override {
    events.push_back("navigated " + std::to_string(frame) + " " + Narrow(url));
    if (frame == 0 && !hostSheetRule.empty()) AddHostSheet(hostSheetRule);
    if (frame == 0 && !laterSheetRule.empty()) AddHostSheet(laterSheetRule);
  }
  void DocumentComplete(core::BrowserFrame frame, std::u16string_view url) override {
    events.push_back("completed " + std::to_string(frame) + " " + Narrow(url));
  }
  bool NavigateError(core::BrowserFrame frame, std::u16string_view url, std::u16string_view, LONG status) override {
    events.push_back("error " + std::to_string(frame) + " " + Narrow(url));
    return true;
  }
  bool DocumentEvent(DISPID, core::BrowserEventState&) override { return false; }
  bool TranslateAccelerator(const MSG&) override { return false; }
  bool ShowContextMenu(POINT) override { return true; }
  core::UrlActionAnswer ProcessUrlAction(std::u16string_view url, DWORD action) override {
    events.push_back("url action " + std::to_string(action) + " " + Narrow(url));
    return scriptAnswer;
  }
  bool ContinueDespiteSecurityProblem(DWORD) override { return false; }
  DWORD HostFlags() override { return 0; }
  bool ShowMessage(std::u16string_view, std::u16string_view, DWORD, LRESULT*) override { return false; }
  bool ShowHelp(POINT) override { return false; }
};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::vector<std::string>& WindowLog() {
  static std::vector<std::string> log;
  return log;
}

HWND g_viewWindow = nullptr;

LRESULT CALLBACK TopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    WindowLog().push_back("size " + std::to_string(wParam) + " " + std::to_string(LOWORD(lParam)) + "x" +
                          std::to_string(HIWORD(lParam)));
    if (g_viewWindow != nullptr) MoveWindow(g_viewWindow, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  }
  if (message == WM_CLOSE) {
    WindowLog().push_back("close");
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class WebKitViewDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    available_ = gtkui::InstallGtkServices(reason_);
    if (!available_) return;
    gchar* folder = g_dir_make_tmp("tsr-display-XXXXXX", nullptr);
    prefix_ = folder;
    g_free(folder);
    const std::string pages = prefix_ + "/drive_c/Guide Pages";
    g_mkdir_with_parents(pages.c_str(), 0700);
    // Green body from the page's own sheet; the host's sheet adds a blue top border.
    Write(pages + "/caf\xc3\xa9 page.html",
          "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Caf\xc3\xa9</title>"
          "<style>body { background: rgb(0, 180, 0); margin: 0; height: 2000px }</style></head>"
          "<body><p id='s'>did not run</p><a id='c' href='openfolder:C:%5CProgram%20Files'>folder</a>"
          "<script>document.getElementById('s').textContent = 'ran';"
          "if (location.hash == '#click') document.getElementById('c').click();</script></body></html>");
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TopProcedure;
    windowClass.lpszClassName = u"DisplayTestTop";
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.lpszClassName = u"Internet Explorer_Server";
    RegisterClassExW(&windowClass);
  }
  static void TearDownTestSuite() {
    if (!prefix_.empty()) {
      const std::string pages = prefix_ + "/drive_c/Guide Pages";
      g_remove((pages + "/caf\xc3\xa9 page.html").c_str());
      g_rmdir(pages.c_str());
      g_rmdir((prefix_ + "/drive_c").c_str());
      g_rmdir(prefix_.c_str());
    }
  }
  static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

  void SetUp() override {
    if (!available_) GTEST_SKIP() << reason_;
    core::InstallPathMapping(std::make_shared<posix::WinePrefixPaths>(prefix_));
    WindowLog().clear();
    top_ = CreateWindowExW(0, u"DisplayTestTop", u"Display test \u00e9", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                           nullptr, nullptr, nullptr);
    RECT client{};
    GetClientRect(top_, &client);
    g_viewWindow = CreateWindowExW(0, u"Internet Explorer_Server", u"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                   client.bottom, top_, nullptr, nullptr, nullptr);
    view_ = core::CurrentBrowserEngine()->CreateView(g_viewWindow, host_);
    ASSERT_NE(view_, nullptr);
    host_.view = view_.get();
    ShowWindow(top_, SW_SHOW);
  }
  void TearDown() override {
    view_.reset();
    if (top_ != nullptr) DestroyWindow(top_);
    g_viewWindow = nullptr;
  }

  void Navigate(const std::u16string& url) {
    core::BrowserNavigation navigation;
    navigation.url = url;
    ASSERT_EQ(view_->Navigate(navigation), S_OK);
  }

  // Runs the platform's messages and GTK's events until done() holds; false after timeoutMs.
  static bool RunUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
    const gint64 end = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
    const guint tick = g_timeout_add(20, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool met = done();
    while (!met && g_get_monotonic_time() < end) {
      MSG msg;
      if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
      else
        g_main_context_iteration(nullptr, TRUE);
      met = done();
    }
    g_source_remove(tick);
    return met;
  }
  static void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
  }

  // The colour the screen shows at a point of the window's client area.
  Rgb PixelAt(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(top_, &point);
    GdkPixbuf* pixel = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), point.x, point.y, 1, 1);
    if (pixel == nullptr) return Rgb{-1, -1, -1};
    const guchar* p = gdk_pixbuf_get_pixels(pixel);
    const Rgb rgb{p[0], p[1], p[2]};
    g_object_unref(pixel);
    return rgb;
  }
  bool Shows(int x, int y, Rgb colour) const {
    return RunUntil([&] { return PixelAt(x, y) == colour; }, 5000);
  }

  static inline bool available_ = false;
  static inline std::string reason_;
  static inline std::string prefix_;
  RecordingHost host_;
  HWND top_ = nullptr;
  std::unique_ptr<core::BrowserView> view_;
};

constexpr char kPageAddress[] = "file:///C:/Guide%20Pages/caf%C3%A9%20page.html";

TEST_F(WebKitViewDisplayTest, APageLoadsUnderItsPlatformAddressAndShowsWithTheHostSheetFirst) {
  host_.hostSheetRule = u"background: rgb(200, 0, 0); border-top: 30px solid rgb(0, 0, 220)";
  Navigate(u"C:\\Guide Pages\\caf\u00e9 page.html");
  // BeforeNavigate comes inside Navigate, the rest through the message loop.
  ASSERT_EQ(host_.events.size(), 2u);
  EXPECT_EQ(host_.events[0], "before 0 C:\\Guide Pages\\caf? page.html");
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  const std::vector<std::string> expected{"before 0 C:\\Guide Pages\\caf? page.html",
                                          "url action 5120 C:\\Guide Pages\\caf? page.html",
                                          std::string("navigated 0 ") + kPageAddress,
                                          std::string("completed 0 ") + kPageAddress};
  EXPECT_EQ(host_.events, expected);
  EXPECT_EQ(Narrow(view_->LocationUrl(0)), kPageAddress);
  EXPECT_EQ(Narrow(view_->Title(0)), "Caf?");
  // The page's own sheet comes after the host's and wins the background; the border only the
  // host's sheet gives.
  EXPECT_TRUE(Shows(100, 10, Rgb{0, 0, 220})) << "host sheet's border";
  EXPECT_TRUE(Shows(100, 200, Rgb{0, 180, 0})) << "page sheet's background";
}

// A reload puts the host's sheets back in the order they stood: the later sheet went in front
// of the earlier one, so the earlier one's border wins, before the reload and after it.
TEST_F(WebKitViewDisplayTest, AReloadKeepsTheHostSheetsInTheirOrder) {
  host_.hostSheetRule = u"border-top: 30px solid rgb(220, 0, 0)";
  host_.laterSheetRule = u"border-top: 30px solid rgb(0, 0, 220)";
  Navigate(u"C:\\Guide Pages\\caf\u00e9 page.html");
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  EXPECT_TRUE(Shows(100, 10, Rgb{220, 0, 0})) << "the earlier sheet's border";
  host_.hostSheetRule.clear();
  host_.laterSheetRule.clear();
  ASSERT_EQ(view_->Reload(), S_OK);
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 2; }));
  // The old picture stays until the reloaded page is drawn: the later sheet's border, were it
  // to win now, shows within a frame or two of that.
  EXPECT_FALSE(RunUntil([&] { return PixelAt(100, 10) == Rgb{0, 0, 220}; }, 1500)) << "the later sheet won";
  EXPECT_TRUE(Shows(100, 10, Rgb{220, 0, 0})) << "the earlier sheet's border after the reload";
}

TEST_F(WebKitViewDisplayTest, ALinkCommandIsAskedAboutAndItsCancelKeepsThePage) {
  // The page's script follows its command link while the page loads.
  const std::string address = std::string(kPageAddress) + "#click";
  Navigate(std::u16string(address.begin(), address.end()));
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  RunFor(300);
  const std::vector<std::string> expected{"before 0 " + address, "url action 5120 " + address, "navigated 0 " + address,
                                          "before 0 openfolder:C:%5CProgram%20Files", "completed 0 " + address};
  EXPECT_EQ(host_.events, expected);
  EXPECT_EQ(Narrow(view_->LocationUrl(0)), address);
}

// An engine's first view takes the web process that the engine started when it was made,
// before the command schemes were registered: the registration holds there too. A page that
// may not load local files cannot reach a command; a local page still asks for one.
TEST_F(WebKitViewDisplayTest, TheFirstViewsEarlyProcessRefusesCommandsToPagesThatAreNotLocal) {
  gtkui::WebKitBrowserEngine engine;
  RunFor(300);
  engine.SetCommandPrefixes({u"openfolder:"});
  view_.reset();
  view_ = engine.CreateView(g_viewWindow, host_);
  ASSERT_NE(view_, nullptr);
  host_.view = view_.get();
  const std::u16string page = u"data:text/html,<script>location.href = 'openfolder:C:%5CWindows'</script>";
  Navigate(page);
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  RunFor(500);
  const std::vector<std::string> refused{"before 0 " + Narrow(page), "url action 5120 " + Narrow(page),
                                         "navigated 0 " + Narrow(page), "completed 0 " + Narrow(page)};
  EXPECT_EQ(host_.events, refused);

  host_.events.clear();
  const std::string address = std::string(kPageAddress) + "#click";
  Navigate(std::u16string(address.begin(), address.end()));
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  RunFor(300);
  EXPECT_NE(std::find(host_.events.begin(), host_.events.end(), "before 0 openfolder:C:%5CProgram%20Files"),
            host_.events.end());
  // The view goes before its engine.
  view_.reset();
}

TEST_F(WebKitViewDisplayTest, APageFromMemoryTakesTheSheetAndContentMeantForIt) {
  Navigate(u"C:\\Guide Pages\\caf\u00e9 page.html");
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  host_.events.clear();
  ASSERT_EQ(view_->LoadHtml("<html><body style='margin: 0'><p id='m'>from memory \xc3\xa9</p></body></html>"), S_OK);
  // Added before the page from memory is there: it waits for it.
  host_.hostSheetRule = u"background: rgb(250, 200, 0)";
  host_.AddHostSheet(host_.hostSheetRule);
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  EXPECT_EQ(host_.events, (std::vector<std::string>{"url action 5120 about:blank", "completed 0 "}));
  EXPECT_EQ(view_->LocationUrl(0), u"");
  EXPECT_TRUE(Shows(100, 200, Rgb{250, 200, 0}));

  EXPECT_TRUE(view_->HasElement(u"m"));
  EXPECT_FALSE(view_->HasElement(u"absent"));
  std::u16string html;
  ASSERT_EQ(view_->GetElementHtml(u"m", &html), S_OK);
  EXPECT_EQ(html, u"from memory \u00e9");
  // The text reaches the page as data, whatever it holds.
  const std::u16string written = u"<b>\"quoted\" '\u2028' \\ </script></b>";
  ASSERT_EQ(view_->SetElementHtml(u"m", written), S_OK);
  ASSERT_EQ(view_->GetElementHtml(u"m", &html), S_OK);
  EXPECT_EQ(html, u"<b>\"quoted\" '\u2028' \\ </b>");
  EXPECT_EQ(view_->SetElementHtml(u"absent", u"x"), E_INVALIDARG);
}

TEST_F(WebKitViewDisplayTest, ThePagesScriptRunsOnlyWhereTheHostAllowsIt) {
  for (const auto answer : {core::UrlActionAnswer::Disallow, core::UrlActionAnswer::Allow}) {
    host_.scriptAnswer = answer;
    host_.events.clear();
    Navigate(u"C:\\Guide Pages\\caf\u00e9 page.html");
    ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
    std::u16string text;
    ASSERT_EQ(view_->GetElementHtml(u"s", &text), S_OK);
    EXPECT_EQ(text, answer == core::UrlActionAnswer::Allow ? u"ran" : u"did not run");
  }
}

// The page tells the view about its selection; a new document starts with none.
TEST_F(WebKitViewDisplayTest, CopyIsEnabledWhileThePageHasASelection) {
  auto copyEnabled = [&] {
    bool enabled = false;
    EXPECT_EQ(view_->QueryCommandEnabled(u"Copy", &enabled), S_OK);
    return enabled;
  };
  Navigate(u"C:\\Guide Pages\\caf\u00e9 page.html");
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 1; }));
  EXPECT_FALSE(copyEnabled());
  bool done = false;
  ASSERT_EQ(view_->ExecCommand(u"SelectAll", false, &done), S_OK);
  EXPECT_TRUE(RunUntil(copyEnabled, 5000));

  ASSERT_EQ(view_->LoadHtml("<html><body><p>another page</p></body></html>"), S_OK);
  ASSERT_TRUE(RunUntil([&] { return host_.Completed() == 2; }));
  RunFor(200);
  EXPECT_FALSE(copyEnabled());
}

TEST_F(WebKitViewDisplayTest, TheGtkWindowAndThePlatformsWindowFollowEachOther) {
  GtkWindow* window = gtkui::WindowPresenter::Instance().GtkWindowOf(top_);
  ASSERT_NE(window, nullptr);
  EXPECT_STREQ(gtk_window_get_title(window), "Display test \xc3\xa9");
  auto gtkSize = [&] {
    int width = 0;
    int height = 0;
    gtk_window_get_size(window, &width, &height);
    return std::to_string(width) + "x" + std::to_string(height);
  };
  auto clientSize = [&] {
    RECT client{};
    GetClientRect(top_, &client);
    return std::to_string(client.right) + "x" + std::to_string(client.bottom);
  };
  ASSERT_TRUE(RunUntil([&] { return gtkSize() == clientSize(); }));

  // The platform sizes its window: GTK follows.
  SetWindowPos(top_, nullptr, 20, 20, 520, 360, SWP_NOZORDER);
  const std::string platformSize = clientSize();
  EXPECT_TRUE(RunUntil([&] { return gtkSize() == platformSize; })) << gtkSize() << " for " << platformSize;

  // The user sizes the GtkWindow: the platform's window gets WM_SIZE with that size.
  WindowLog().clear();
  gtk_window_resize(window, 480, 300);
  EXPECT_TRUE(RunUntil([&] { return clientSize() == "480x300"; })) << clientSize();
  ASSERT_FALSE(WindowLog().empty());
  EXPECT_EQ(WindowLog().back(), "size 0 480x300");

  // The close button is the platform's close command.
  WindowLog().clear();
  gtk_window_close(window);
  EXPECT_TRUE(RunUntil([&] { return !WindowLog().empty(); }));
  EXPECT_EQ(WindowLog(), (std::vector<std::string>{"close"}));
}

}  // namespace
