// The guide dialog's hook over the scripted browser: commands from local pages are carried
// out, commands from remote pages and frames are not, and ordinary targets load.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <urlmon.h>
#include <windows.h>

#include "app/Resources.h"
#include "app/TsrRunvaneHtmlDlg.h"
#include "support/RecordingShell.h"
#include "support/ScriptedBrowserEngine.h"

namespace {

const std::u16string kGuide = u"file:///C:/Gen/TsrInstallationGuide/Content/runvane.html";
const std::u16string kGuideByPath = u"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html";
const std::u16string kRemote = u"https://example.com/";
const std::u16string kRemoteFrame = u"https://ads.example.com/frame.html";
const std::u16string kLocalFrame = u"file:///C:/Gen/TsrInstallationGuide/Content/menu.html";

class GuideDialogHook : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterApplicationResources());
    engine_ = core::InstallScriptedBrowserEngine();
    core::ScriptedPage guide;
    guide.frames = {kRemoteFrame, kLocalFrame};  // frames 1 and 2
    engine_->AddPage(kGuide, guide);
    ASSERT_TRUE(main_.Create(ApplicationResources::kMainDialog));
    main_.ShowWindow(SW_SHOW);
    ASSERT_TRUE(guide_.Create(ApplicationResources::kGuideDialog, &main_));
    engine_->DeliverPendingEvents();
  }
  void TearDown() override {
    main_.DestroyWindow();
    core::InstallBrowserEngine(nullptr);
  }

  void Show(const std::u16string& address) {
    guide_.Navigate(address.c_str());
    engine_->DeliverPendingEvents();
    ASSERT_EQ(address, View().Location());
  }
  core::ScriptedBrowser& View() { return engine_->LastBrowser(); }

  ScopedRecordingShell shell_;
  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
  CDialog main_;
  CTsrRunvaneHtmlDlg guide_{&main_};
};

TEST_F(GuideDialogHook, CommandsRunOnlyFromLocalDocuments) {
  enum class Expect { Loaded, Opened, Cancelled };
  const struct {
    const char* comment;
    std::u16string page;
    core::BrowserFrame frame;
    std::u16string target;
    Expect expect;
    std::u16string file = u"";
  } cases[] = {
      {"guide page", kGuide, 0, u"openfolder:C:%5CGen%5CDocs", Expect::Opened, u"C:\\Gen\\Docs"},
      {"guide page by its path", kGuideByPath, 0, u"OpenExecutable:C:%5CGen%5Csetup.exe", Expect::Opened,
       u"C:\\Gen\\setup.exe"},
      {"local frame of the guide", kGuide, 2, u"openinbrowser:https://example.com/", Expect::Opened,
       u"https://example.com/"},
      {"remote frame of the guide", kGuide, 1, u"openexecutable:C:%5Cevil.exe", Expect::Cancelled},
      {"a frame the browser cannot tell", kGuide, core::kUnknownFrame, u"openfolder:C:%5CGen", Expect::Cancelled},
      {"remote page", kRemote, 0, u"openexecutable:C:%5Cevil.exe", Expect::Cancelled},
      {"about:blank", u"about:blank", 0, u"openfolder:C:%5C", Expect::Cancelled},
      {"zero byte, even from the guide", kGuide, 0, u"openexecutable:a.exe%00.txt", Expect::Cancelled},
      {"ordinary link of the guide", kGuide, 0, u"file:///C:/Gen/TsrInstallationGuide/Content/next.html",
       Expect::Loaded},
      {"web link of the guide", kGuide, 0, u"https://example.com/docs", Expect::Loaded},
      {"ordinary link of a remote page", kRemote, 0, u"https://example.com/next", Expect::Loaded},
  };
  for (const auto& c : cases) {
    Show(c.page);
    shell_->Clear();
    const bool went = View().ClickLink(c.target, c.frame);
    EXPECT_EQ(c.expect == Expect::Loaded, went) << c.comment;
    const auto requests = shell_->Requests();
    if (c.expect != Expect::Opened) {
      EXPECT_TRUE(requests.empty()) << c.comment;
      continue;
    }
    ASSERT_EQ(1u, requests.size()) << c.comment;
    EXPECT_EQ(c.file, requests[0].file) << c.comment;
  }
}

// The framework empties its current address as soon as a top-level navigation goes ahead;
// the remote page is still the document until the next one commits, so it still may not
// issue commands.
TEST_F(GuideDialogHook, APageBeingLeftKeepsItsStanding) {
  Show(kRemote);
  ASSERT_TRUE(View().ClickLink(u"https://example.com/next"));
  ASSERT_TRUE(View().HasPendingEvents());
  // The framework's own before-navigate handling ran for the ordinary link.
  EXPECT_TRUE(guide_.m_strCurrentUrl.IsEmpty());
  EXPECT_FALSE(View().ClickLink(u"openexecutable:C:%5Cevil.exe"));
  EXPECT_TRUE(shell_->Requests().empty());
}

TEST_F(GuideDialogHook, CloseEndsTheParentDialogOnlyFromTheGuide) {
  Show(kRemote);
  EXPECT_FALSE(View().ClickLink(u"close:"));
  EXPECT_TRUE(main_.IsWindowVisible());
  Show(kGuide);
  EXPECT_FALSE(View().ClickLink(u"close:now"));
  // A dialog that runs modeless is hidden by its end.
  EXPECT_FALSE(main_.IsWindowVisible());
}

TEST_F(GuideDialogHook, ScriptRunsAndUrlActionsAreGranted) {
  Show(kGuide);
  EXPECT_EQ(core::UrlActionAnswer::Allow, View().AskToRunScript());
  EXPECT_EQ(core::UrlActionAnswer::Allow, View().AskUrlAction(URLACTION_ACTIVEX_RUN, kGuide));
}

}  // namespace
