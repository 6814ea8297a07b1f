// The whole launcher, from InitInstance to its exit status, over the scripted browser, a
// recording shell and an in-memory registry. This program links the one application object.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <afxwin.h>
#include <windows.h>

#include "app/GuideFiles.h"
#include "app/Resources.h"
#include "app/RunLauncher.h"
#include "core/registry/RegistryHive.h"
#include "support/RecordingShell.h"
#include "support/ScriptedBrowserEngine.h"

namespace {

const std::u16string kGuidePage = u"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html";
const std::u16string kEvaluationPage = u"C:\\Gen\\TsrEvalInstallationGuide\\Content\\runvane.html";

// The generator's key with its two values; no evalType leaves out the whole key.
void InstallGenerator(std::optional<std::u16string_view> evalType, std::u16string_view installFolder = u"C:\\Gen\\") {
  auto hive = std::make_shared<core::RegistryHive>();
  if (evalType) {
    const auto key = hive->AddPath(u"SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator");
    hive->SetString(key, u"InstallFolder", installFolder);
    hive->SetString(key, u"EvalType", *evalType);
  }
  core::InstallMachineHive(hive);
}

std::u16string WindowText(HWND window) {
  WCHAR text[256] = {};
  const int length = GetWindowTextW(window, text, 256);
  return std::u16string(text, length);
}

RECT ClientRectOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return rect;
}

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class LauncherRun : public ::testing::Test {
 protected:
  void SetUp() override { engine_ = core::InstallScriptedBrowserEngine(); }
  void TearDown() override {
    core::InstallBrowserEngine(nullptr);
    core::InstallMachineHive(nullptr);
  }

  // The guide dialog holds the browser control, which holds the view's window.
  static HWND GuideDialogOf(core::ScriptedBrowser& view) { return GetParent(GetParent(view.Window())); }

  ScopedRecordingShell shell_;
  ScopedGuideFiles files_;
  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
};

TEST_F(LauncherRun, ShowsTheGuideCarriesOutItsCommandsAndClosesWithStatusZero) {
  InstallGenerator(u"Full");
  struct Seen {
    std::u16string caption;
    bool placeholderGone = false;
    RECT client{}, guide{}, resizedClient{}, resizedGuide{};
    HICON big = nullptr, small = nullptr;
  } seen;
  engine_->WhenDocumentCompletes(kGuidePage, [&](core::ScriptedBrowser& view) {
    const HWND main = AfxGetMainWnd()->m_hWnd;
    const HWND guide = GuideDialogOf(view);
    ASSERT_EQ(main, GetParent(guide));
    seen.caption = WindowText(main);
    seen.placeholderGone = FindWindowExW(main, nullptr, u"Static", u"<placeholder>") == nullptr;
    seen.client = ClientRectOf(main);
    seen.guide = RectInParent(guide);
    seen.big = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_BIG, 0));
    seen.small = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_SMALL, 0));
    RECT frame{};
    GetWindowRect(main, &frame);
    SetWindowPos(main, nullptr, 0, 0, frame.right - frame.left + 120, frame.bottom - frame.top + 80,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    seen.resizedClient = ClientRectOf(main);
    seen.resizedGuide = RectInParent(guide);
    view.ClickLink(u"openfolder:C:%5CGen%5CSamples");
    view.ClickLink(u"close:");
  });

  EXPECT_EQ(0, RunLauncher());

  EXPECT_EQ(u"Tessarin Installation Guide", seen.caption);
  EXPECT_TRUE(seen.placeholderGone);
  // The placeholder's rectangle: the whole width from the corner, one dialog unit taller
  // than the client area.
  EXPECT_EQ(0, seen.guide.left);
  EXPECT_EQ(0, seen.guide.top);
  EXPECT_EQ(seen.client.right, seen.guide.right);
  EXPECT_GE(seen.guide.bottom, seen.client.bottom);
  // Anchored to all four sides: it grows with the window and keeps its margins.
  EXPECT_GT(seen.resizedClient.right, seen.client.right);
  EXPECT_EQ(0, seen.resizedGuide.left);
  EXPECT_EQ(0, seen.resizedGuide.top);
  EXPECT_EQ(seen.resizedClient.right, seen.resizedGuide.right);
  EXPECT_EQ(seen.guide.bottom - seen.client.bottom, seen.resizedGuide.bottom - seen.resizedClient.bottom);

  const HICON icon = LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ApplicationResources::kWindowIcon));
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(icon, seen.big);
  EXPECT_EQ(icon, seen.small);

  // "about:blank" from the guide dialog's own initialisation, then the page, then the links.
  const auto& navigations = engine_->LastBrowser().Navigations();
  ASSERT_EQ(4u, navigations.size());
  EXPECT_EQ(u"about:blank", navigations[0].request.url);
  EXPECT_EQ(kGuidePage, navigations[1].request.url);
  EXPECT_FALSE(navigations[1].cancelled);
  EXPECT_TRUE(navigations[2].cancelled);
  EXPECT_TRUE(navigations[3].cancelled);
  const auto requests = shell_->Requests();
  ASSERT_EQ(1u, requests.size());
  EXPECT_EQ(u"C:\\Gen\\Samples", requests[0].file);
  EXPECT_EQ(std::u16string(u"open"), requests[0].verb);
  EXPECT_EQ(SW_SHOWDEFAULT, requests[0].showCommand);
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

TEST_F(LauncherRun, ClosingTheWindowEndsWithStatusZero) {
  InstallGenerator(u"Full");
  engine_->WhenDocumentCompletes(kGuidePage, [](core::ScriptedBrowser&) {
    PostMessageW(AfxGetMainWnd()->m_hWnd, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(0, RunLauncher());
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

// The guide dialog offers F5 to the main window first, whose dialog handling hands the key
// on to the page's window; the page reloads once, and the key goes no further.
TEST_F(LauncherRun, F5ReloadsTheGuideOnce) {
  InstallGenerator(u"Full");
  int reloads = -1;
  bool taken = false;
  engine_->WhenDocumentCompletes(kGuidePage, [&](core::ScriptedBrowser& view) {
    taken = view.PressKey(VK_F5);
    reloads = view.Reloads();
    view.ClickLink(u"close:");
  });
  EXPECT_EQ(0, RunLauncher());
  EXPECT_TRUE(taken);
  EXPECT_EQ(1, reloads);
}

TEST_F(LauncherRun, EvalExpressInAnyCaseShowsTheEvaluationGuide) {
  InstallGenerator(u"evalexpress");
  engine_->WhenDocumentCompletes(kEvaluationPage, [](core::ScriptedBrowser& view) { view.ClickLink(u"close:"); });
  // The wrong guide ends the run too, so that a fault fails the test instead of hanging it.
  engine_->WhenDocumentCompletes(kGuidePage, [](core::ScriptedBrowser& view) { view.ClickLink(u"close:"); });
  EXPECT_EQ(0, RunLauncher());
  const auto& navigations = engine_->LastBrowser().Navigations();
  ASSERT_GE(navigations.size(), 2u);
  EXPECT_EQ(kEvaluationPage, navigations[1].request.url);
}

TEST_F(LauncherRun, AMissingRegistryKeyIsToldAndEndsWithStatusOne) {
  InstallGenerator(std::nullopt);
  testing::internal::CaptureStderr();
  const int status = RunLauncher();
  const std::string error = testing::internal::GetCapturedStderr();
  EXPECT_EQ(1, status);
  EXPECT_NE(std::string::npos, error.find("Tessarin Installation Guide: ")) << error;
  EXPECT_NE(std::string::npos,
            error.find("registry key \"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation "
                       "Generator\" could not be opened"))
      << error;
  EXPECT_NE(std::string::npos, error.find("Windows Error 0x2: ")) << error;
  // Nothing but the guide dialog's blank page was loaded, and nothing was opened.
  const auto& navigations = engine_->LastBrowser().Navigations();
  ASSERT_EQ(1u, navigations.size());
  EXPECT_EQ(u"about:blank", navigations[0].request.url);
  EXPECT_TRUE(shell_->Requests().empty());
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

// An installation whose guide page cannot be shown: the window shows the launcher's own page
// saying which file and why, standard error has the same text as one line, and closing the
// window ends with status 1.
TEST_F(LauncherRun, AGuidePageThatCannotBeShownIsExplainedInTheWindowAndOnStandardError) {
  const std::u16string longFolder = u"C:\\" + std::u16string(1 << 20, u'x') + u"\\";
  using Answer = GuideFiles::Answer;
  struct Case {
    const char* name;
    std::u16string installFolder;
    std::map<std::u16string, Answer> files;  // besides them, every path is missing
    LONG loadError;                           // the browser's status when it loads the page
    std::string message;                      // the whole message after the caption
  } cases[] = {
      {"empty install folder", u"", {}, 0,
       "The installation guide cannot be shown: its page \"TsrInstallationGuide\\Content\\runvane.html\" is not a "
       "full path, because the install folder that the registry records for the Tessarin Installation Generator is "
       "empty or not a full path."},
      {"relative install folder", u"Gen\\", {}, 0,
       "The installation guide cannot be shown: its page \"Gen\\TsrInstallationGuide\\Content\\runvane.html\" is "
       "not a full path, because the install folder that the registry records for the Tessarin Installation "
       "Generator is empty or not a full path."},
      {"host folder", u"/etc/", {}, 0,
       "The installation guide cannot be shown: its page \"/etc/TsrInstallationGuide\\Content\\runvane.html\" is "
       "not a full path, because the install folder that the registry records for the Tessarin Installation "
       "Generator is empty or not a full path."},
      {"no such file", u"C:\\Gen\\", {}, 0,
       "The installation guide cannot be shown: there is no file \"" + std::string("C:\\Gen\\") +
           "TsrInstallationGuide\\Content\\runvane.html\"."},
      {"no such folder", u"Z:\\etc\\",
       {{u"Z:\\etc\\TsrInstallationGuide\\Content\\runvane.html", {INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND}}}, 0,
       "The installation guide cannot be shown: a folder on the way to \"Z:\\etc\\TsrInstallationGuide\\Content\\"
       "runvane.html\" does not exist."},
      {"link loop", u"C:\\Gen\\", {{kGuidePage, {INVALID_FILE_ATTRIBUTES, ERROR_CANT_RESOLVE_FILENAME}}}, 0,
       "The installation guide cannot be shown: the way to \"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html\" "
       "passes a link that leads back to itself."},
      {"no permission", u"C:\\Gen\\", {{kGuidePage, {INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED}}}, 0,
       "The installation guide cannot be shown: you are not allowed to read \"C:\\Gen\\TsrInstallationGuide\\"
       "Content\\runvane.html\"."},
      {"a folder", u"C:\\Gen\\", {{kGuidePage, {FILE_ATTRIBUTE_DIRECTORY}}}, 0,
       "The installation guide cannot be shown: \"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html\" is a "
       "folder, not a page."},
      {"a named pipe", u"C:\\Gen\\", {{kGuidePage, {FILE_ATTRIBUTE_DEVICE}}}, 0,
       "The installation guide cannot be shown: \"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html\" is a "
       "device or a pipe, not a page."},
      {"the browser cannot load it", u"C:\\Gen\\", {{kGuidePage, {FILE_ATTRIBUTE_NORMAL}}}, static_cast<LONG>(0x800C0008),
       "The installation guide cannot be shown: \"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html\" could not "
       "be loaded (error 0x800c0008)."},
      // The name is cut after 300 characters, in the window and on standard error alike.
      {"a very long folder", longFolder, {}, 0,
       "The installation guide cannot be shown: there is no file \"C:\\" + std::string(297, 'x') + "\xE2\x80\xA6\"."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    engine_ = core::InstallScriptedBrowserEngine();
    InstallGenerator(u"Full", c.installFolder);
    ScopedGuideFiles files(c.files);
    if (c.loadError != 0) {
      core::ScriptedPage failing;
      failing.errorStatus = c.loadError;
      engine_->AddPage(kGuidePage, failing);
    }
    std::string shown;
    engine_->WhenDocumentCompletes(u"", [&](core::ScriptedBrowser& view) {
      if (!view.LoadedHtml().empty()) shown = view.LoadedHtml().back();
      PostMessageW(AfxGetMainWnd()->m_hWnd, WM_CLOSE, 0, 0);
    });
    testing::internal::CaptureStderr();
    const int status = RunLauncher();
    const std::string error = testing::internal::GetCapturedStderr();

    const std::string reinstall = "Please install the Tessarin Installation Generator again.";
    EXPECT_EQ("Tessarin Installation Guide: " + c.message + "  " + reinstall + "\n", error);
    EXPECT_EQ(1, status);
    // The page says the same; its text is escaped, and the name is cut the same way.
    std::string escaped;
    for (char ch : c.message) escaped += ch == '"' ? std::string("&quot;") : std::string(1, ch);
    EXPECT_NE(std::string::npos, shown.find("<p>" + escaped + "</p><p>" + reinstall + "</p>")) << shown.substr(0, 2000);
    // The page was never loaded when the launcher could tell beforehand that it cannot be.
    const auto& navigations = engine_->LastBrowser().Navigations();
    const bool loadedThePage = std::any_of(navigations.begin(), navigations.end(), [](const core::ScriptedNavigation& n) {
      return n.request.url == kGuidePage;
    });
    EXPECT_EQ(c.loadError != 0, loadedThePage);
    EXPECT_TRUE(shell_->Requests().empty());
  }
}

}  // namespace
