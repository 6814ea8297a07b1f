// The framework's HTML dialog over the scripted engine: the current document and address
// across navigations, the event sink map's derived entries, the modal loop delivering the
// browser's events, document events through DHtmlEventHook, and the host questions answered
// through the browser control's site.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <afxdhtml.h>

#include "support/ScriptedBrowserEngine.h"

namespace {

using core::ScriptedBrowser;

// A dialog template without controls, in a global block as the framework takes one.
class PopupTemplate {
 public:
  explicit PopupTemplate(DWORD style = WS_POPUP) : block_(GlobalAlloc(GPTR, 32)) {
    auto* words = static_cast<WORD*>(GlobalLock(block_));
    std::memcpy(words, &style, 4);  // style, then extended style 0 and no items
    words[5] = 0;                   // x, y
    words[6] = 0;
    words[7] = 200;  // cx, cy in dialog units
    words[8] = 100;
    // No menu, no class, no title: the three zero words that follow are already there.
  }
  ~PopupTemplate() {
    GlobalUnlock(block_);
    GlobalFree(block_);
  }
  LPCDLGTEMPLATE Get() const { return static_cast<LPCDLGTEMPLATE>(GlobalLock(block_)); }

 private:
  HGLOBAL block_;
};

std::string Narrow(LPCWSTR text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

// A dialog that keeps the platform's handling and logs each notification with its browser.
class CLoggingDialog : public CDHtmlDialog {
 public:
  std::vector<std::string> log;
  void OnBeforeNavigate(LPDISPATCH dispatch, LPCWSTR url) override {
    Log("before", dispatch, url);
    CDHtmlDialog::OnBeforeNavigate(dispatch, url);
  }
  void OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url) override {
    Log("navigated", dispatch, url);
    CDHtmlDialog::OnNavigateComplete(dispatch, url);
  }
  void OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url) override {
    Log("completed", dispatch, url);
    CDHtmlDialog::OnDocumentComplete(dispatch, url);
  }

 private:
  void Log(const char* what, LPDISPATCH dispatch, LPCWSTR url) {
    log.push_back(std::string(what) + (IsTopLevelBrowser(dispatch) ? " top " : " frame ") + Narrow(url));
  }
};

// Commands in links, as a subclass's own entries for BeforeNavigate2 and NavigateError take
// them ahead of the platform's.
class CCommandDialog : public CLoggingDialog {
 public:
  std::vector<std::u16string> commands;
  std::vector<LONG> errors;

  virtual void OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                 VARIANT* postData, VARIANT* headers, BOOL* cancel) {
    const std::u16string target(url->bstrVal, SysStringLen(url->bstrVal));
    if (target.rfind(u"cmd:", 0) == 0 || target == u"close:") {
      commands.push_back(target);
      // The dialog that runs modally ends: the parent when this one is a child of it.
      if (target == u"close:") {
        auto* parent = dynamic_cast<CDialog*>(GetParent());
        (parent != nullptr ? parent : this)->EndDialog(IDCANCEL);
      }
      *cancel = TRUE;
      return;
    }
    _OnBeforeNavigate2(dispatch, url, flags, targetFrame, postData, headers, cancel);
  }
  virtual void OnNavigateError(LPDISPATCH, VARIANT*, VARIANT*, VARIANT* statusCode, BOOL* cancel) {
    errors.push_back(statusCode->lVal);
    *cancel = TRUE;
  }

  DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CCommandDialog, CLoggingDialog)
  ON_EVENT(CCommandDialog, AFX_IDC_BROWSER, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2,
           VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
  ON_EVENT(CCommandDialog, AFX_IDC_BROWSER, DISPID_NAVIGATEERROR, OnNavigateError,
           VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
END_EVENTSINK_MAP()

class CDHtmlDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = core::InstallScriptedBrowserEngine();
    core::ScriptedPage a;
    a.title = u"A";
    a.elements = {{u"status", u"ready"}};
    a.frames = {u"page:frame"};
    engine_->AddPage(u"page:a", a);
    core::ScriptedPage failing;
    failing.errorStatus = 404;
    engine_->AddPage(u"page:missing", failing);
  }
  void TearDown() override { core::InstallBrowserEngine(nullptr); }

  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
  PopupTemplate template_;
};

TEST_F(CDHtmlDialogTest, TheCurrentDocumentAndAddressFollowTheTopLevelBrowserOnly) {
  CLoggingDialog dialog;
  dialog.m_strCurrentUrl = u"page:a";
  ASSERT_TRUE(dialog.CreateIndirect(template_.Get()));
  // The browser control, id 102, holds the view's window.
  const HWND control = GetDlgItem(dialog.m_hWnd, AFX_IDC_BROWSER);
  ASSERT_NE(control, nullptr);
  EXPECT_NE(FindWindowExW(control, nullptr, u"Internet Explorer_Server", nullptr), nullptr);
  ASSERT_NE(dialog.m_pBrowserApp, nullptr);
  EXPECT_EQ(dialog.m_dwHostFlags, static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));

  // OnInitDialog navigated to the current address; its before-navigate emptied it.
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"before top page:a"}));
  EXPECT_EQ(dialog.m_spHtmlDoc, nullptr);
  EXPECT_TRUE(dialog.m_strCurrentUrl.IsEmpty());

  engine_->DeliverPendingEvents();
  const std::vector<std::string> loaded{"before top page:a",     "navigated top page:a",  "before frame page:frame",
                                        "navigated frame page:frame", "completed frame page:frame",
                                        "completed top page:a"};
  EXPECT_EQ(dialog.log, loaded);
  // Taken at the top-level navigate-complete, and not replaced by the frame's.
  EXPECT_TRUE(dialog.m_strCurrentUrl == u"page:a");
  ASSERT_NE(dialog.m_spHtmlDoc, nullptr);
  CComPtr<IDispatch> current;
  dialog.m_pBrowserApp->get_Document(&current);
  EXPECT_TRUE(dialog.m_spHtmlDoc.IsEqualObject(current));
  CComPtr<IHTMLElement> status;
  ASSERT_EQ(dialog.GetElement(u"status", &status), S_OK);
  CComBSTR html;
  status->get_innerHTML(&html);
  EXPECT_EQ(std::u16string(html), u"ready");
  EXPECT_EQ(dialog.GetElement(u"absent", &status), E_NOINTERFACE);
  EXPECT_EQ(status, nullptr);

  // The next top-level navigation lets go of both before anything loads.
  dialog.Navigate(u"page:b");
  EXPECT_EQ(dialog.m_spHtmlDoc, nullptr);
  EXPECT_TRUE(dialog.m_strCurrentUrl.IsEmpty());
  engine_->DeliverPendingEvents();
  EXPECT_TRUE(dialog.m_strCurrentUrl == u"page:b");
  EXPECT_NE(dialog.m_spHtmlDoc, nullptr);

  // The browser keeps filling the dialog, and the view the browser.
  dialog.MoveWindow(0, 0, 333, 222);
  RECT client{};
  dialog.GetClientRect(&client);
  RECT browser{};
  GetWindowRect(control, &browser);
  EXPECT_EQ(browser.right - browser.left, client.right);
  EXPECT_EQ(browser.bottom - browser.top, client.bottom);
  RECT viewArea{};
  GetClientRect(engine_->LastBrowser().Window(), &viewArea);
  EXPECT_EQ(viewArea.right, client.right);

  // The browser's properties reach the view.
  ScriptedBrowser& view = engine_->LastBrowser();
  dialog.m_pBrowserApp->put_Silent(VARIANT_TRUE);
  dialog.m_pBrowserApp->put_RegisterAsDropTarget(VARIANT_FALSE);
  EXPECT_TRUE(view.Silent());
  EXPECT_FALSE(view.AcceptsDrops());

  dialog.DestroyWindow();
  EXPECT_FALSE(view.IsOpen());
  EXPECT_EQ(dialog.m_pBrowserApp, nullptr);
}

TEST_F(CDHtmlDialogTest, ASubclassesEventEntriesComeBeforeThePlatforms) {
  CCommandDialog dialog;
  dialog.m_strCurrentUrl = u"page:a";
  ASSERT_TRUE(dialog.CreateIndirect(template_.Get()));
  engine_->DeliverPendingEvents();
  ScriptedBrowser& view = engine_->LastBrowser();
  dialog.log.clear();

  // The subclass's entry cancels a command; the platform's handling never sees it.
  EXPECT_FALSE(view.ClickLink(u"cmd:open"));
  engine_->DeliverPendingEvents();
  EXPECT_EQ(dialog.commands, (std::vector<std::u16string>{u"cmd:open"}));
  EXPECT_TRUE(dialog.log.empty());
  EXPECT_TRUE(dialog.m_strCurrentUrl == u"page:a");
  EXPECT_EQ(view.Location(), u"page:a");

  // Anything else is handed on to the platform's handling and loads.
  EXPECT_TRUE(view.ClickLink(u"page:next"));
  EXPECT_EQ(dialog.log, (std::vector<std::string>{"before top page:next"}));
  engine_->DeliverPendingEvents();
  EXPECT_EQ(view.Location(), u"page:next");

  // NavigateError reaches the subclass's entry with its status; cancelling keeps the page.
  EXPECT_TRUE(view.ClickLink(u"page:missing"));
  engine_->DeliverPendingEvents();
  EXPECT_EQ(dialog.errors, (std::vector<LONG>{404}));
  EXPECT_EQ(view.Location(), u"page:next");
}

TEST_F(CDHtmlDialogTest, TheModalLoopDeliversTheBrowsersEventsUntilAPageEndsTheDialog) {
  CCommandDialog dialog;
  dialog.m_strCurrentUrl = u"page:a";
  bool acted = false;
  engine_->WhenDocumentCompletes(u"page:a", [&](ScriptedBrowser& view) {
    acted = true;
    view.ClickLink(u"cmd:first");
    view.ClickLink(u"close:");
  });
  ASSERT_TRUE(dialog.InitModalIndirect(template_.Get()));
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(acted);
  EXPECT_EQ(dialog.commands, (std::vector<std::u16string>{u"cmd:first", u"close:"}));
  EXPECT_EQ(dialog.log.back(), "completed top page:a");
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

// Blocks the wheel while Shift is held, the way an event hook cancels a document event.
class CWheelDialog : public CDHtmlDialog {
 public:
  int hooked = 0;
  BOOL DHtmlEventHook(HRESULT* result, DISPID dispid, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    ++hooked;
    if (dispid != DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEWHEEL) return FALSE;
    CComPtr<IHTMLDocument2> document;
    GetDHtmlDocument(&document);
    CComPtr<IHTMLWindow2> window;
    CComPtr<IHTMLEventObj> event;
    if (document == nullptr || FAILED(document->get_parentWindow(&window)) || FAILED(window->get_event(&event)) ||
        event == nullptr)
      return FALSE;
    VARIANT_BOOL shift = VARIANT_FALSE;
    event->get_shiftKey(&shift);
    if (shift == VARIANT_FALSE) return FALSE;
    event->put_returnValue(CComVariant(false));
    *result = S_OK;
    return TRUE;
  }
};

TEST_F(CDHtmlDialogTest, DocumentEventsPassTheHookWhileTheDialogHoldsTheDocument) {
  CWheelDialog dialog;
  dialog.m_strCurrentUrl = u"page:a";
  ASSERT_TRUE(dialog.CreateIndirect(template_.Get()));
  engine_->DeliverPendingEvents();
  ScriptedBrowser& view = engine_->LastBrowser();
  EXPECT_FALSE(view.TurnWheel(true));
  EXPECT_TRUE(view.TurnWheel(false));
  EXPECT_EQ(view.Scrolls(), 1);
  EXPECT_EQ(dialog.hooked, 2);
  // Between the next before-navigate and its navigate-complete the dialog holds no document,
  // and the page's events do not reach the hook.
  dialog.Navigate(u"page:b");
  EXPECT_TRUE(view.TurnWheel(true));
  EXPECT_EQ(dialog.hooked, 2);
  engine_->DeliverPendingEvents();
  EXPECT_FALSE(view.TurnWheel(true));
  EXPECT_EQ(dialog.hooked, 3);
}

class CNoMenuDialog : public CDHtmlDialog {
 public:
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
};

TEST_F(CDHtmlDialogTest, TheBrowsersHostQuestionsGoToTheDialogThroughItsSite) {
  CLoggingDialog plain;
  ASSERT_TRUE(plain.CreateIndirect(template_.Get()));
  ScriptedBrowser& plainView = engine_->LastBrowser();
  ASSERT_NE(dynamic_cast<CBrowserControlSite*>(plain.m_pCtrlCont->FindItem(AFX_IDC_BROWSER)), nullptr);
  EXPECT_EQ(plainView.AskHostFlags(), static_cast<DWORD>(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));
  EXPECT_TRUE(plainView.RightClick(POINT{1, 1}));
  EXPECT_FALSE(plainView.PressKey(VK_F5));
  EXPECT_EQ(plainView.Reloads(), 1);
  // The plain site offers no security manager: the browser decides.
  EXPECT_EQ(plainView.AskToRunScript(), core::UrlActionAnswer::Default);

  CNoMenuDialog quiet;
  quiet.m_dwHostFlags |= DOCHOSTUIFLAG_THEME;
  ASSERT_TRUE(quiet.CreateIndirect(template_.Get()));
  ScriptedBrowser& quietView = engine_->LastBrowser();
  EXPECT_FALSE(quietView.RightClick(POINT{1, 1}));
  EXPECT_TRUE(quietView.MenusShown().empty());
  EXPECT_EQ(quietView.AskHostFlags(), 0x4000Cu);
}

TEST_F(CDHtmlDialogTest, WithoutABrowserTheDialogDestroysItsWindow) {
  core::InstallBrowserEngine(nullptr);
  CLoggingDialog dialog;
  dialog.m_strCurrentUrl = u"page:a";
  EXPECT_FALSE(dialog.CreateIndirect(template_.Get()));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_pBrowserApp, nullptr);
  // Navigating without a browser does nothing.
  dialog.Navigate(u"page:a");
  EXPECT_TRUE(dialog.log.empty());
}

// A site that records the key message that moved the focus onto its control.
class CFocusSite : public CBrowserControlSite {
 public:
  using CBrowserControlSite::CBrowserControlSite;
  std::vector<MSG>* received = nullptr;
  CWnd* SetFocus(LPMSG msg) override {
    if (msg != nullptr) received->push_back(*msg);
    return COleControlSite::SetFocus(msg);
  }
};

class CFocusDialog : public CDHtmlDialog {
 public:
  std::vector<MSG> received;
  BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT, REFCLSID) override {
    auto* made = new CFocusSite(container, this);
    made->received = &received;
    *site = made;
    return TRUE;
  }
};

TEST_F(CDHtmlDialogTest, TabReachingTheDialogGoesIntoItsBrowserThroughTheSite) {
  CFocusDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(template_.Get()));
  MSG tab{dialog.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_TRUE(dialog.PreTranslateMessage(&tab));
  ASSERT_EQ(dialog.received.size(), 1u);
  EXPECT_EQ(dialog.received[0].wParam, static_cast<WPARAM>(VK_TAB));
  // The focus is in the view, inside the browser control.
  EXPECT_EQ(GetFocus(), engine_->LastBrowser().Window());
  // Other keys stay the dialog's own.
  MSG other{dialog.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
  dialog.PreTranslateMessage(&other);
  EXPECT_EQ(dialog.received.size(), 1u);
}

TEST_F(CDHtmlDialogTest, ADialogFindsTheFrameWindowItLiesIn) {
  CFrameWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, u"#32770", u"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
  CLoggingDialog inside;
  ASSERT_TRUE(inside.CreateIndirect(template_.Get(), &frame));
  EXPECT_EQ(inside.GetParentFrame(), &frame);
  CLoggingDialog alone;
  ASSERT_TRUE(alone.CreateIndirect(template_.Get()));
  EXPECT_EQ(alone.GetParentFrame(), nullptr);
}

// A modal dialog whose whole content is an HTML child dialog, as the launcher's main window.
class CHostingDialog : public CDialog {
 public:
  CCommandDialog page;
  PopupTemplate childTemplate{WS_CHILD | DS_CONTROL};
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (!page.CreateIndirect(childTemplate.Get(), this)) return TRUE;
    page.ShowWindow(SW_SHOW);
    page.Navigate(u"page:a");
    return TRUE;
  }
};

TEST_F(CDHtmlDialogTest, AnHtmlChildOfAModalDialogIsDrivenToItsEnd) {
  CHostingDialog main;
  engine_->WhenDocumentCompletes(u"page:a", [](ScriptedBrowser& view) { view.ClickLink(u"close:"); });
  ASSERT_TRUE(main.InitModalIndirect(template_.Get()));
  EXPECT_EQ(main.DoModal(), IDCANCEL);
  EXPECT_EQ(main.page.commands, (std::vector<std::u16string>{u"close:"}));
  // The child's window went with the main one, and with it the browser.
  EXPECT_EQ(main.page.m_hWnd, nullptr);
  EXPECT_EQ(main.page.m_pBrowserApp, nullptr);
  EXPECT_EQ(main.page.m_pCtrlCont, nullptr);
  EXPECT_FALSE(engine_->LastBrowser().IsOpen());
}

}  // namespace
