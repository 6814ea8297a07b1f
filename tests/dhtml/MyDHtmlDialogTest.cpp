// The HTML dialog's core: initialisation, navigation, the order in which its hooks see a
// navigation, its document event hook and signals, and its quiet answers to the dialog
// manager and the browser.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostDoubles.h"
#include "HostTestSupport.h"
#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "core/registry/RegistryHive.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/WindowsError.h"

namespace {

using hostdoubles::Narrow;
using hosttest::Host;

std::string Text(const VARIANT* v) {
  return v != nullptr && v->vt == VT_BSTR ? Narrow(std::u16string_view(v->bstrVal, SysStringLen(v->bstrVal))) : "?";
}

// Records what each hook sees, and the platform's state when it sees it.
class ProbeDialog : public CMyDHtmlDialog {
 public:
  using CMyDHtmlDialog::CMyDHtmlDialog;
  std::vector<std::string> seen;

  void OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                         VARIANT* headers, BOOL* cancel) override {
    seen.push_back("BeforeNavigate2 " + Text(url) + State());
    CMyDHtmlDialog::OnBeforeNavigate2(dispatch, url, flags, targetFrame, postData, headers, cancel);
  }
  void OnBeforeNavigate(LPDISPATCH dispatch, LPCWSTR url) override {
    CMyDHtmlDialog::OnBeforeNavigate(dispatch, url);
    seen.push_back("platform before-navigate " + Narrow(url) + State());
  }
  void OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url) override {
    seen.push_back("NavigateComplete " + Narrow(url) + State());
    CMyDHtmlDialog::OnNavigateComplete(dispatch, url);
  }
  void OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url) override {
    seen.push_back("DocumentComplete " + Narrow(url) + State());
    CMyDHtmlDialog::OnDocumentComplete(dispatch, url);
  }

  std::string State() const {
    return std::string(m_spHtmlDoc ? " [document" : " [no document") + ", \"" + Narrow(m_strCurrentUrl.GetString()) + "\"]";
  }
};

// Styling is on for the dialog tests, so that every navigate-complete can take its document.
class DialogTest : public hosttest::StyledPageTest {};

TEST_F(DialogTest, ConstructionSetsHostFlagsAndBlocksShiftWheel) {
  CMyDHtmlDialog dialog;
  EXPECT_EQ(dialog.m_dwHostFlags, 0x4000Cu);
  EXPECT_EQ(dialog.EventSignal(1033).num_slots(), 1u);
  // The same signal on every request; a new id gets an empty one.
  EXPECT_EQ(&dialog.EventSignal(1033), &dialog.EventSignal(1033));
  EXPECT_EQ(dialog.EventSignal(-600).num_slots(), 0u);
  EXPECT_FALSE(dialog.CanRunScript(u"file:///C:/page.html"));
}

TEST_F(DialogTest, InitialisationLoadsAboutBlankOrTheAddressAlreadySet) {
  for (const char16_t* preset : {u"", u"file:///C:/Guide/runvane.html"}) {
    Host<ProbeDialog> host;
    host.dialog->m_strCurrentUrl = preset;
    host.Create();
    const std::string expected = *preset ? Narrow(preset) : "about:blank";
    ASSERT_EQ(host.Browser().Navigations().size(), 1u);
    EXPECT_EQ(Narrow(host.Browser().Navigations()[0].request.url), expected);
    EXPECT_FALSE(host.Browser().Navigations()[0].cancelled);
    EXPECT_EQ(Narrow(host.Browser().Location()), expected);
    // Dropped files are not opened, and the browser is not silenced.
    EXPECT_FALSE(host.Browser().AcceptsDrops());
    EXPECT_FALSE(host.Browser().Silent());
  }
}

TEST_F(DialogTest, HooksSeeANavigationInTheBrowsersOrder) {
  hostdoubles::Machine machine(42, {u"C:\\Guide\\page.html"});
  Host<ProbeDialog> host;
  host.Create(false);
  host.Deliver();
  host.Browser().ClickLink(u"file:///C:/Guide/page.html");
  host.Deliver();
  const std::vector<std::string> expected = {
      // The first navigation, before any document: the platform's handling lets it through.
      "BeforeNavigate2 about:blank [no document, \"about:blank\"]",
      "platform before-navigate about:blank [no document, \"\"]",
      "NavigateComplete about:blank [no document, \"\"]",
      "DocumentComplete about:blank [document, \"about:blank\"]",
      // A link to an existing file, with a document held: loaded in place.
      "BeforeNavigate2 file:///C:/Guide/page.html [document, \"about:blank\"]",
      "platform before-navigate file:///C:/Guide/page.html [no document, \"\"]",
      "NavigateComplete file:///C:/Guide/page.html [no document, \"\"]",
      "DocumentComplete file:///C:/Guide/page.html [document, \"file:///C:/Guide/page.html\"]",
  };
  EXPECT_EQ(host.dialog->seen, expected);
}

// A hook that lets navigations through without the platform's before-navigate handling.
class PassThroughDialog : public ProbeDialog {
 public:
  using ProbeDialog::ProbeDialog;
  void OnBeforeNavigate2(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, BOOL*) override {}
};

TEST_F(DialogTest, DocumentStillHeldAtNavigateCompleteIsKept) {
  Host<PassThroughDialog> host;
  host.Create();
  ASSERT_TRUE(host.dialog->m_strCurrentUrl == u"about:blank");
  host.dialog->Navigate(u"file:///C:/next.html");
  host.Deliver();
  // The browser shows the new page, but the platform did not take it: no document was
  // released before it completed.
  EXPECT_EQ(host.Browser().Location(), u"file:///C:/next.html");
  EXPECT_TRUE(host.dialog->m_strCurrentUrl == u"about:blank");
}

TEST_F(DialogTest, NavigateBeforeTheBrowserExistsDoesNothing) {
  Host<> host;
  EXPECT_NO_THROW(host.dialog->Navigate(u"file:///C:/x.html"));
  EXPECT_NO_THROW(host.dialog->Navigate(UStringRef<UTF8>(std::string_view("file:///C:/x.html"))));
  EXPECT_EQ(host.engine->BrowserCount(), 0u);
}

TEST_F(DialogTest, NavigateRefusesTextThatIsNotUnicode) {
  Host<> host;
  host.Create();
  const std::size_t before = host.Browser().Navigations().size();
  // An unpaired surrogate: nothing is navigated and nothing is raised.
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_NO_THROW(host.dialog->Navigate(lone));
  // Invalid UTF-8 raises to the caller before anything is navigated.
  EXPECT_THROW(host.dialog->Navigate(UStringRef<UTF8>(std::string_view("about:\xFF"))), WindowsCharacterSetResult);
  EXPECT_EQ(host.Browser().Navigations().size(), before);
  // A null address counts as empty text.
  EXPECT_NO_THROW(host.dialog->Navigate(static_cast<LPCWSTR>(nullptr)));
}

TEST_F(DialogTest, NavigateGivesTheSilentFlagAndPassesTheArgumentsOn) {
  hostdoubles::Machine machine;  // the page exists, so that the navigation policy lets it load
  Host<> host;
  host.Create();
  host.dialog->silent = true;
  host.dialog->Navigate(UStringRef<UTF8>(std::string_view("file:///C:/Existing.html#\xC3\xA9")), navNoHistory, nullptr,
                        u"X-A: 1\r\n");
  EXPECT_TRUE(host.Browser().Silent());
  const core::BrowserNavigation& request = host.Browser().Navigations().back().request;
  EXPECT_EQ(request.url, u"file:///C:/Existing.html#\u00E9");
  EXPECT_EQ(request.flags, static_cast<DWORD>(navNoHistory));
  EXPECT_EQ(request.headers, u"X-A: 1\r\n");
  host.dialog->silent = false;
  host.dialog->Navigate(u"about:blank");
  EXPECT_FALSE(host.Browser().Silent());
}

TEST_F(DialogTest, ShiftWheelIsCancelledAndThePlainWheelScrolls) {
  Host<> host;
  host.Create();
  EXPECT_FALSE(host.Browser().TurnWheel(true));
  EXPECT_TRUE(host.Browser().TurnWheel(false));
  EXPECT_EQ(host.Browser().Scrolls(), 1);
}

TEST_F(DialogTest, EventHookAnswers) {
  Host<> host;
  int calls = 0;
  struct Case {
    const char* what;
    std::function<bool(CComPtr<IHTMLEventObj>)> slot;  // connected to 1033 in place of the wheel block
    bool scrolls;
  } cases[] = {
      {"a slot that takes the event", [&](CComPtr<IHTMLEventObj> e) { return ++calls, e != nullptr; }, false},
      {"a slot that declines", [&](CComPtr<IHTMLEventObj>) { return ++calls, false; }, true},
      {"a slot that throws", [&](CComPtr<IHTMLEventObj>) -> bool { ++calls; throw std::runtime_error("x"); }, true},
      {"no slot", nullptr, true},
  };
  host.Create();
  for (const Case& c : cases) {
    calls = 0;
    host.dialog->EventSignal(1033).disconnect_all_slots();
    if (c.slot) host.dialog->EventSignal(1033).connect(c.slot);
    EXPECT_EQ(host.Browser().TurnWheel(false), c.scrolls) << c.what;
    EXPECT_EQ(calls, c.slot ? 1 : 0) << c.what;
  }
}

TEST_F(DialogTest, EventHookResultForUnknownEventsAndFailures) {
  Host<> host;
  const HRESULT untouched = static_cast<HRESULT>(0x12345678);
  HRESULT result = untouched;
  // No document yet: the event cannot be found, which is a failure.
  EXPECT_FALSE(host.dialog->DHtmlEventHook(&result, 1033, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(result, E_FAIL);

  host.Create();
  // An id with no entry, and an entry with no slots: not handled, result as it was.
  result = untouched;
  EXPECT_FALSE(host.dialog->DHtmlEventHook(&result, -600, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(result, untouched);
  host.dialog->EventSignal(-602);
  EXPECT_FALSE(host.dialog->DHtmlEventHook(&result, -602, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(result, untouched);
  // Between events the document has no current event: the wheel block fails on it.
  EXPECT_FALSE(host.dialog->DHtmlEventHook(&result, 1033, nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(result, E_FAIL);
  EXPECT_THROW(CMyDHtmlDialog::BlockShiftWheel(nullptr), Windows::Error);
}

TEST_F(DialogTest, QuietAnswers) {
  Host<> host;
  host.Create();
  const HWND window = host.dialog->m_hWnd;
  // Enter and Escape leave the dialog open.
  host.dialog->SendMessage(WM_COMMAND, IDOK, 0);
  host.dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(host.dialog->m_hWnd, window);
  // The background is left to the page.
  EXPECT_EQ(host.dialog->SendMessage(WM_ERASEBKGND, 0, 0), TRUE);
  // No context menu.
  EXPECT_FALSE(host.Browser().RightClick(POINT{10, 10}));
  EXPECT_TRUE(host.Browser().MenusShown().empty());
}

TEST_F(DialogTest, ScriptPermissionComesFromTheSignal) {
  Host<> host;
  host.Create();
  std::vector<std::string> asked;
  struct Case {
    const char* what;
    std::function<bool(LPCWSTR)> slot;
    core::UrlActionAnswer expected;
  } cases[] = {
      {"no slot", nullptr, core::UrlActionAnswer::Disallow},
      {"a slot that allows", [&](LPCWSTR url) { return asked.push_back(Narrow(url)), true; }, core::UrlActionAnswer::Allow},
      {"a slot that refuses", [&](LPCWSTR url) { return asked.push_back(Narrow(url)), false; }, core::UrlActionAnswer::Disallow},
      {"a slot that throws", [&](LPCWSTR) -> bool { throw std::runtime_error("x"); }, core::UrlActionAnswer::Disallow},
  };
  for (const Case& c : cases) {
    host.dialog->scriptPermissionSignal.disconnect_all_slots();
    if (c.slot) host.dialog->scriptPermissionSignal.connect(c.slot);
    EXPECT_EQ(host.Browser().AskToRunScript(), c.expected) << c.what;
  }
  // The slots were asked about the page that wants to run script.
  EXPECT_EQ(asked, (std::vector<std::string>{"about:blank", "about:blank"}));
}

// Takes the navigate-error event, as a subclass that shows its own error page would.
class ErrorDialog : public CMyDHtmlDialog {
 public:
  using CMyDHtmlDialog::CMyDHtmlDialog;
  std::vector<std::string> errors;
  bool cancelErrors = false;
  void OnNavigateError(LPDISPATCH, VARIANT* url, VARIANT*, VARIANT* statusCode, BOOL* cancel) override {
    errors.push_back(Text(url) + " " + std::to_string(statusCode != nullptr ? statusCode->lVal : 0));
    if (cancelErrors) *cancel = TRUE;
  }
};

TEST_F(DialogTest, NavigateErrorReachesTheOverride) {
  core::ScriptedPage broken;
  broken.errorStatus = 404;
  Host<ErrorDialog> host;
  host.engine->AddPage(u"file:///C:/broken.html", broken);
  host.Create(false);
  // Before any document the navigation goes straight to the browser, and fails there.
  host.dialog->Navigate(u"file:///C:/broken.html");
  host.Deliver();
  EXPECT_EQ(host.dialog->errors, (std::vector<std::string>{"file:///C:/broken.html 404"}));
}

}  // namespace
