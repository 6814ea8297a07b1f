// The main window's own run: the icon it sets, and how "close:" and a failed guide lookup end
// its modal run.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "app/GuideFiles.h"
#include "app/Resources.h"
#include "app/TsrRunvaneDlg.h"
#include "core/registry/RegistryHive.h"
#include "support/RecordingShell.h"
#include "support/ScriptedBrowserEngine.h"

namespace {

const std::u16string kGuidePage = u"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html";

// Sees the icons as they are set.
class CRecordingMainDialog : public CTsrRunvaneDlg {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> iconsSet;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETICON) iconsSet.emplace_back(wParam, lParam);
    return CTsrRunvaneDlg::WindowProc(message, wParam, lParam);
  }
};

class MainDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterApplicationResources());
    engine_ = core::InstallScriptedBrowserEngine();
  }
  void TearDown() override {
    core::InstallBrowserEngine(nullptr);
    core::InstallMachineHive(nullptr);
  }
  // The generator's key; with installFolder null, the key without its values.
  static void InstallGenerator(const char16_t* installFolder) {
    auto hive = std::make_shared<core::RegistryHive>();
    const auto key = hive->AddPath(u"SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator");
    if (installFolder != nullptr) {
      hive->SetString(key, u"InstallFolder", installFolder);
      hive->SetString(key, u"EvalType", u"Full");
    }
    core::InstallMachineHive(hive);
  }

  ScopedRecordingShell shell_;
  ScopedGuideFiles files_;
  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
};

TEST_F(MainDialog, CloseEndsTheRunWithCancelAfterTheIconWasSetBigThenSmall) {
  InstallGenerator(u"C:\\Gen\\");
  engine_->WhenDocumentCompletes(kGuidePage, [](core::ScriptedBrowser& view) { view.ClickLink(u"close:"); });
  CRecordingMainDialog dialog;
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_TRUE(dialog.GuideLookupFailure().empty());
  const LPARAM icon = reinterpret_cast<LPARAM>(
      LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ApplicationResources::kWindowIcon)));
  ASSERT_NE(0, icon);
  const std::vector<std::pair<WPARAM, LPARAM>> expected = {{ICON_BIG, icon}, {ICON_SMALL, icon}};
  EXPECT_EQ(expected, dialog.iconsSet);
}

// The run ends before the window is shown; the owner tells the user.
TEST_F(MainDialog, AFailedLookupEndsTheRunAtOnceAndSaysWhy) {
  InstallGenerator(nullptr);
  CRecordingMainDialog dialog;
  EXPECT_EQ(IDABORT, dialog.DoModal());
  const std::string failure(dialog.GuideLookupFailure().view());
  EXPECT_NE(std::string::npos, failure.find("\"InstallFolder\"")) << failure;
  EXPECT_TRUE(dialog.iconsSet.empty());
  ASSERT_EQ(1u, engine_->LastBrowser().Navigations().size());  // only the blank page
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

}  // namespace
