// Page styling with the message font on each navigate-complete, and the five edit commands
// with their update handlers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HostDoubles.h"
#include "HostTestSupport.h"
#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include <afxres.h>
#include "core/registry/RegistryHive.h"
#include "foundation/WindowsError.h"
#include "support/FixedDesktopFacts.h"

namespace {

using hosttest::Host;

using hosttest::InstallBrowserVersion;

std::vector<std::string> Sheets(core::ScriptedBrowser& browser) {
  std::vector<std::string> out;
  for (const core::ScriptedStyleSheet& sheet : browser.StyleSheets()) {
    std::string text = std::string(sheet.page.begin(), sheet.page.end()) + " @" + std::to_string(sheet.index) + ":";
    for (const core::ScriptedStyleRule& rule : sheet.rules) {
      text += " " + std::string(rule.selector.begin(), rule.selector.end()) + " {" +
              std::string(rule.style.begin(), rule.style.end()) + "}";
    }
    out.push_back(text);
  }
  return out;
}

class StylingTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ForgetBrowserVersion();
    DefaultDesktopFacts() = FixedDesktopFacts();
  }
};

TEST_F(StylingTest, EveryNavigateCompleteGetsTheBodyRuleFirst) {
  InstallBrowserVersion(u"9.11.19041.0");
  DefaultDesktopFacts().SetMessageFont(u"Segoe UI", -12);
  DefaultDesktopFacts().messageFont.lfWeight = 400;
  // The frame names an existing file, so that the navigation policy loads it in place.
  hostdoubles::Machine machine(42, {u"C:\\frame.html", u"C:\\framed.html"});
  core::ScriptedPage framed;
  framed.frames = {u"file:///C:/frame.html"};
  Host<> host;
  host.engine->AddPage(u"file:///C:/framed.html", framed);
  host.Create();
  host.dialog->Navigate(u"file:///C:/framed.html");
  host.Deliver();
  const std::string rule = " body {font-family: Segoe UI; font-size: 12; font-weight: 400; font-style: normal; overflow: auto}";
  // The frame's navigate-complete styles the top-level document once more.
  EXPECT_EQ(Sheets(host.Browser()), (std::vector<std::string>{"about:blank @0:" + rule, "file:///C:/framed.html @0:" + rule,
                                                               "file:///C:/framed.html @0:" + rule}));
  // The platform still took the document and its address.
  EXPECT_TRUE(host.dialog->m_spHtmlDoc != nullptr);
  EXPECT_TRUE(host.dialog->m_strCurrentUrl == u"file:///C:/framed.html");
}

TEST_F(StylingTest, OlderOrUnknownBrowserGetsNoStyleButThePlatformStillTakesTheDocument) {
  for (const char16_t* version : {u"6.0.2900.2180", u"", u"7.0.0.0.0", static_cast<const char16_t*>(nullptr)}) {
    InstallBrowserVersion(version);
    Host<> host;
    host.Create();
    EXPECT_TRUE(host.Browser().StyleSheets().empty());
    EXPECT_TRUE(host.dialog->m_spHtmlDoc != nullptr);
    EXPECT_TRUE(host.dialog->m_strCurrentUrl == u"about:blank");
  }
}

TEST_F(StylingTest, ItalicAndCellHeightFonts) {
  InstallBrowserVersion(u"11.0");
  DefaultDesktopFacts().SetMessageFont(u"Tahoma", 15);
  DefaultDesktopFacts().messageFont.lfItalic = 1;
  DefaultDesktopFacts().messageFont.lfWeight = 700;
  Host<> host;
  host.Create();
  ASSERT_EQ(host.Browser().StyleSheets().size(), 1u);
  ASSERT_EQ(host.Browser().StyleSheets()[0].rules.size(), 1u);
  EXPECT_EQ(host.Browser().StyleSheets()[0].rules[0].style,
            u"font-family: Tahoma; font-size: 15; font-weight: 700; font-style: italic; overflow: auto");
}

// A CCmdUI that keeps the answer of the update handler.
struct CommandState {
  bool handled;
  bool enabled;
};

CommandState Update(CMyDHtmlDialog& dialog, UINT id) {
  CCmdUI ui;
  ui.m_nID = id;
  const BOOL handled = ui.DoUpdate(&dialog, FALSE);
  return {handled != FALSE, ui.m_bEnabled != FALSE};
}

class EditCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallBrowserVersion(u"6.0"); }
  void TearDown() override { ForgetBrowserVersion(); }
};

TEST_F(EditCommandTest, WithoutAWindowOrDocumentNothingHappensAndAllAreDisabled) {
  Host<> host;
  // No window: copy, cut and paste find no page window; find and select all have no document.
  for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE}) EXPECT_NO_THROW(host.dialog->OnCmdMsg(id, CN_COMMAND, nullptr, nullptr));
  EXPECT_THROW(host.dialog->OnCmdMsg(ID_EDIT_FIND, CN_COMMAND, nullptr, nullptr), Windows::Error);
  EXPECT_THROW(host.dialog->OnCmdMsg(ID_EDIT_SELECT_ALL, CN_COMMAND, nullptr, nullptr), Windows::Error);
  for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_FIND, ID_EDIT_SELECT_ALL}) {
    const CommandState state = Update(*host.dialog, id);
    EXPECT_TRUE(state.handled) << id;
    EXPECT_FALSE(state.enabled) << id;
  }
  EXPECT_EQ(host.engine->BrowserCount(), 0u);
}

TEST_F(EditCommandTest, CommandsActOnThePage) {
  Host<> host;
  host.Create();
  for (UINT id : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_FIND, ID_EDIT_SELECT_ALL}) {
    host.dialog->SendMessage(WM_COMMAND, id, 0);
  }
  EXPECT_EQ(host.Browser().EditCommands(), (std::vector<UINT>{15, 16, 26}));
  EXPECT_EQ(host.Browser().FindsShown(), 1);
  EXPECT_EQ(host.Browser().ExecutedCommands(), (std::vector<std::u16string>{u"SelectAll"}));
}

TEST_F(EditCommandTest, UpdateHandlersFollowTheDocumentsAnswers) {
  hostdoubles::Machine machine(42, {u"C:\\page.html"});
  core::ScriptedPage page;
  page.enabledCommands = {{u"Copy", true}, {u"Cut", false}, {u"SelectAll", true}};  // Paste not listed
  Host<> host;
  host.engine->AddPage(u"file:///C:/page.html", page);
  host.Create();
  host.dialog->Navigate(u"file:///C:/page.html");
  host.Deliver();
  struct Case {
    UINT id;
    bool enabled;
  } cases[] = {
      {ID_EDIT_COPY, true}, {ID_EDIT_CUT, false}, {ID_EDIT_PASTE, false}, {ID_EDIT_SELECT_ALL, true},
      {ID_EDIT_FIND, true},  // a document exists
  };
  for (const Case& c : cases) EXPECT_EQ(Update(*host.dialog, c.id).enabled, c.enabled) << c.id;
}

}  // namespace
