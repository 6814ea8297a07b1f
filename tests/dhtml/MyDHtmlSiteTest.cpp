// The browser site's answers, one table per interface, and the key, focus and help paths
// as the browser and the dialog manager drive them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <afxocc.h>

#include "HostTestSupport.h"
#include "Shared/Windows/MFC/Dialogs/MyDHtmlSite.h"
#include "core/user/KeyboardState.h"

namespace {

using hosttest::Host;

constexpr HRESULT kCertificateAnswer = static_cast<HRESULT>(0x00000042);

// A dialog whose script and certificate answers a test sets, and which counts the questions.
class AnsweringDialog : public CMyDHtmlDialog {
 public:
  using CMyDHtmlDialog::CMyDHtmlDialog;
  bool scriptAllowed = false;
  std::vector<DWORD> certificateProblems;
  bool CanRunScript(LPCWSTR) override { return scriptAllowed; }
  HRESULT OnCertificateError(DWORD problem) override {
    certificateProblems.push_back(problem);
    return kCertificateAnswer;
  }
};

MyDHtmlSite& SiteOf(CMyDHtmlDialog& dialog) {
  COleControlSite* site = dialog.m_pCtrlCont != nullptr ? dialog.m_pCtrlCont->FindItem(AFX_IDC_BROWSER) : nullptr;
  auto* mine = dynamic_cast<MyDHtmlSite*>(site);
  if (mine == nullptr) throw std::logic_error("the browser control has no MyDHtmlSite");
  return *mine;
}

class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override { host.Create(); }
  MyDHtmlSite& Site() { return SiteOf(*host.dialog); }
  Host<AnsweringDialog> host;
};

TEST_F(SiteTest, ProcessUrlAction) {
  constexpr DWORD kUntouched = 0xAAAAAAAA;
  constexpr DWORD kSubmitForms = 0x1601;
  struct Case {
    DWORD policySize;
    DWORD action;
    bool scriptAllowed;
    bool permitAll;
    HRESULT expected;
    DWORD policy;
  } cases[] = {
      // Only a 4-byte policy is the site's to write, even for script.
      {8, URLACTION_SCRIPT_RUN, true, true, INET_E_DEFAULT_ACTION, kUntouched},
      {0, kSubmitForms, true, true, INET_E_DEFAULT_ACTION, kUntouched},
      {4, URLACTION_SCRIPT_RUN, false, true, S_FALSE, URLPOLICY_DISALLOW},
      {4, URLACTION_SCRIPT_RUN, true, false, S_OK, URLPOLICY_ALLOW},
      {4, kSubmitForms, false, true, S_OK, URLPOLICY_ALLOW},
      {4, kSubmitForms, true, false, INET_E_DEFAULT_ACTION, kUntouched},
      {4, URLACTION_SCRIPT_RUN + 1, false, true, S_OK, URLPOLICY_ALLOW},  // only 0x1400 is script
  };
  for (const Case& c : cases) {
    host.dialog->scriptAllowed = c.scriptAllowed;
    host.dialog->permitAllUrlActions = c.permitAll;
    BYTE policy[8];
    std::memset(policy, 0xAA, sizeof(policy));
    EXPECT_EQ(Site().ProcessUrlAction(u"file:///C:/page.html", c.action, policy, c.policySize, nullptr, 0, 0, 0), c.expected)
        << std::hex << c.action << " size " << c.policySize;
    DWORD written = 0;
    std::memcpy(&written, policy, 4);
    EXPECT_EQ(written, c.policy) << std::hex << c.action << " size " << c.policySize;
  }
}

TEST_F(SiteTest, OtherSecurityQuestionsAreTheBrowsers) {
  IInternetSecurityManager& manager = Site();
  DWORD zone = 0;
  EXPECT_EQ(manager.SetSecuritySite(nullptr), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.GetSecuritySite(nullptr), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.MapUrlToZone(u"about:blank", &zone, 0), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.GetSecurityId(u"about:blank", nullptr, nullptr, 0), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.QueryCustomPolicy(u"about:blank", GUID_NULL, nullptr, nullptr, nullptr, 0, 0), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.SetZoneMapping(0, u"x", 0), INET_E_DEFAULT_ACTION);
  EXPECT_EQ(manager.GetZoneMappings(0, nullptr, 0), INET_E_DEFAULT_ACTION);
}

TEST_F(SiteTest, InterfacesAndServices) {
  MyDHtmlSite& site = Site();
  void* const serviceProvider = static_cast<IServiceProvider*>(&site);
  void* const securityManager = static_cast<IInternetSecurityManager*>(&site);
  void* const showUI = static_cast<IDocHostShowUI*>(&site);
  void* const httpSecurity = static_cast<IHttpSecurity*>(&site);
  void* const uiHandler = static_cast<IDocHostUIHandler*>(&site);

  struct Query {
    const IID* iid;
    HRESULT expected;
    void* object;
  } queries[] = {
      {&IID_IServiceProvider, S_OK, serviceProvider},
      {&IID_IInternetSecurityManager, S_OK, securityManager},
      {&IID_IDocHostShowUI, S_OK, showUI},
      {&IID_IDocHostUIHandler, S_OK, uiHandler},
      // Reached through QueryService only.
      {&IID_IHttpSecurity, E_NOINTERFACE, nullptr},
      {&IID_IWindowForBindingUI, E_NOINTERFACE, nullptr},
  };
  // Asked through each of the site's own interfaces: one identity.
  for (IUnknown* through : {static_cast<IUnknown*>(static_cast<IServiceProvider*>(&site)),
                            static_cast<IUnknown*>(static_cast<IDocHostShowUI*>(&site))}) {
    for (const Query& q : queries) {
      void* out = reinterpret_cast<void*>(0x1);
      EXPECT_EQ(through->QueryInterface(*q.iid, &out), q.expected);
      EXPECT_EQ(out, q.object);
      if (out != nullptr) static_cast<IUnknown*>(out)->Release();
    }
  }

  struct Service {
    const IID* service;
    const IID* iid;
    HRESULT expected;
    void* object;
  } services[] = {
      {&IID_IHttpSecurity, &IID_IUnknown, S_OK, httpSecurity},  // whatever interface is named
      {&IID_IHttpSecurity, &IID_IStream, S_OK, httpSecurity},
      {&SID_SInternetSecurityManager, &IID_IInternetSecurityManager, S_OK, securityManager},
      {&SID_SInternetSecurityManager, &IID_IStream, E_NOINTERFACE, nullptr},
      {&IID_IWebBrowser2, &IID_IWebBrowser2, E_NOINTERFACE, nullptr},
      {&IID_IDocHostShowUI, &IID_IDocHostShowUI, E_NOINTERFACE, nullptr},
  };
  for (const Service& s : services) {
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(site.QueryService(*s.service, *s.iid, &out), s.expected);
    EXPECT_EQ(out, s.object);
    if (out != nullptr) static_cast<IUnknown*>(out)->Release();
  }
  EXPECT_EQ(site.QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager, nullptr), E_POINTER);
}

TEST_F(SiteTest, SecurityProblemsAndTheBindingWindow) {
  IHttpSecurity& security = Site();
  struct Case {
    DWORD problem;
    HRESULT expected;
  } cases[] = {
      {12037, kCertificateAnswer}, {12038, kCertificateAnswer}, {12045, kCertificateAnswer},
      {12056, S_OK},  {12057, S_OK},  // revocation that cannot be checked
      {12169, S_FALSE}, {0, S_FALSE},
  };
  for (const Case& c : cases) EXPECT_EQ(security.OnSecurityProblem(c.problem), c.expected) << c.problem;
  EXPECT_EQ(host.dialog->certificateProblems, (std::vector<DWORD>{12037, 12038, 12045}));

  HWND window = nullptr;
  EXPECT_EQ(security.GetWindow(GUID_NULL, &window), S_OK);
  EXPECT_EQ(window, host.dialog->m_hWnd);
}

TEST(SiteCertificates, BaseDialogLeavesTheBrowserToStop) {
  Host<> host;
  host.Create();
  IHttpSecurity& security = SiteOf(*host.dialog);
  EXPECT_EQ(security.OnSecurityProblem(12038), S_FALSE);
  EXPECT_FALSE(host.Browser().RaiseCertificateProblem(12038));
  EXPECT_TRUE(host.Browser().RaiseCertificateProblem(12057));
}

TEST_F(SiteTest, DocumentHostAnswers) {
  IDocHostUIHandler& handler = Site();
  POINT where{5, 5};
  EXPECT_EQ(handler.ShowContextMenu(0, &where, nullptr, nullptr), S_OK);
  DOCHOSTUIINFO info{};
  info.cbSize = sizeof(info);
  EXPECT_EQ(handler.GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.dwFlags, 0x4000Cu);
  EXPECT_EQ(handler.ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE);
  EXPECT_EQ(handler.HideUI(), E_NOTIMPL);
  IDispatch* external = reinterpret_cast<IDispatch*>(0x1);
  EXPECT_EQ(handler.GetExternal(&external), E_NOTIMPL);
  EXPECT_EQ(external, nullptr);
  EXPECT_EQ(handler.GetExternal(nullptr), E_POINTER);
  LPWSTR translated = reinterpret_cast<LPWSTR>(0x1);
  EXPECT_EQ(handler.TranslateUrl(0, nullptr, &translated), S_FALSE);
  EXPECT_EQ(translated, nullptr);
  IDocHostShowUI& showUI = Site();
  EXPECT_EQ(showUI.ShowMessage(nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr), S_FALSE);
}

TEST_F(SiteTest, F5IsSwallowedForAPageFromMemoryAndOfferedToTheParentOtherwise) {
  struct Case {
    const char* what;
    bool fromMemory;
    bool parentTakesKeys;
    bool taken;
    int reloads;
  } cases[] = {
      {"page from memory", true, false, true, 0},
      {"page from an address, parent declines", false, false, false, 1},
      {"page from an address, parent takes it", false, true, true, 0},
  };
  for (const Case& c : cases) {
    Host<> fresh;
    fresh.Create();
    if (c.fromMemory) fresh.dialog->SetHtml(BytesOf(UStringRef<UTF8>(std::string_view("<p>x</p>"))), false);
    fresh.Deliver();
    fresh.owner.takesKeys = c.parentTakesKeys;
    EXPECT_EQ(fresh.Browser().PressKey(VK_F5), c.taken) << c.what;
    EXPECT_EQ(fresh.Browser().Reloads(), c.reloads) << c.what;
    EXPECT_EQ(fresh.owner.offeredKeys, c.fromMemory ? std::vector<WPARAM>{} : std::vector<WPARAM>{VK_F5}) << c.what;
  }
}

TEST_F(SiteTest, OtherKeysGoToTheBrowser) {
  MSG message{};
  message.hwnd = host.Browser().Window();
  for (const auto& [kind, key] : {std::pair<UINT, WPARAM>{WM_KEYDOWN, 'A'}, {WM_KEYUP, VK_F5}, {WM_CHAR, VK_F5}}) {
    message.message = kind;
    message.wParam = key;
    EXPECT_EQ(Site().TranslateAccelerator(&message, nullptr, 0), S_FALSE) << kind << " " << key;
  }
  EXPECT_TRUE(host.owner.offeredKeys.empty());
}

// A frame window above the owner dialog, which takes every key while it is enabled.
class FrameWindow : public CFrameWnd {
 public:
  int offered = 0;
  BOOL PreTranslateMessage(MSG*) override {
    ++offered;
    return TRUE;
  }
};

TEST(SiteFrames, FramesAboveTheDialogSeeKeysFirstWhileEnabled) {
  auto engine = core::InstallScriptedBrowserEngine();
  FrameWindow frame;
  ASSERT_TRUE(frame.CreateEx(0, u"STATIC", u"frame", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr));
  hosttest::EmptyDialogTemplate childTemplate(true);
  hosttest::OwnerDialog owner;
  owner.CreateIndirect(childTemplate.Get(), &frame);
  {
    CMyDHtmlDialog dialog(&owner);
    dialog.CreateIndirect(childTemplate.Get(), &owner);
    engine->DeliverPendingEvents();
    MSG message{};
    message.message = WM_KEYDOWN;
    message.wParam = 'A';
    EXPECT_EQ(SiteOf(dialog).TranslateAccelerator(&message, nullptr, 0), S_OK);
    EXPECT_EQ(frame.offered, 1);
    frame.EnableWindow(FALSE);
    EXPECT_EQ(SiteOf(dialog).TranslateAccelerator(&message, nullptr, 0), S_FALSE);
    EXPECT_EQ(frame.offered, 1);
  }
  owner.DestroyWindow();
  frame.DestroyWindow();
  core::InstallBrowserEngine(nullptr);
}

TEST_F(SiteTest, TabOntoTheBrowserMovesTheTopLevelDialogsFocus) {
  MSG message{};
  message.message = WM_KEYDOWN;
  for (const auto& [key, shift] : {std::pair<WPARAM, bool>{VK_TAB, false}, {VK_TAB, true}, {'A', true}}) {
    message.wParam = key;
    SetVirtualKeyDown(VK_SHIFT, shift);
    Site().SetFocus(&message);
  }
  SetVirtualKeyDown(VK_SHIFT, false);
  Site().SetFocus(nullptr);
  // Shift+Tab asks for the previous control, Tab for the next; other keys ask nothing.
  EXPECT_EQ(host.owner.nextControlRequests, (std::vector<WPARAM>{0, 1}));
}

TEST(SiteHelp, HelpWalksUpTheParentsToTheFirstThatShowsIt) {
  struct Case {
    LRESULT innerAnswer;
    LRESULT outerAnswer;
    HRESULT expected;
    int outerAsked;
  } cases[] = {
      {1, 1, S_OK, 0},     // the dialog's parent shows help: the walk ends there
      {0, 1, S_OK, 1},     // its parent's parent shows it
      {0, 0, S_FALSE, 1},  // nobody does: the browser shows its own
  };
  for (const Case& c : cases) {
    auto engine = core::InstallScriptedBrowserEngine();
    hosttest::EmptyDialogTemplate outerTemplate(false);
    hosttest::EmptyDialogTemplate innerTemplate(true);
    hosttest::OwnerDialog outer;
    hosttest::OwnerDialog inner;
    outer.CreateIndirect(outerTemplate.Get(), nullptr);
    inner.CreateIndirect(innerTemplate.Get(), &outer);
    outer.helpAnswer = c.outerAnswer;
    inner.helpAnswer = c.innerAnswer;
    {
      CMyDHtmlDialog dialog(&inner);
      dialog.CreateIndirect(innerTemplate.Get(), &inner);
      engine->DeliverPendingEvents();
      IDocHostShowUI& showUI = SiteOf(dialog);
      EXPECT_EQ(showUI.ShowHelp(nullptr, nullptr, 0, 0, POINT{}, nullptr), c.expected);
      EXPECT_EQ(inner.helpRequests, 1);
      EXPECT_EQ(outer.helpRequests, c.outerAsked);
    }
    outer.DestroyWindow();
    core::InstallBrowserEngine(nullptr);
  }
}

}  // namespace
