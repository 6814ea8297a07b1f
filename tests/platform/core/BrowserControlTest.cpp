// Core's browser control over the scripted engine: the events of a navigation in the
// platform's order, the host questions going to the site object, the stream a page is
// loaded from, and the view window's edit commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <atlbase.h>
#include <exdisp.h>
#include <mshtmcid.h>
#include <mshtmhst.h>
#include <mshtml.h>
#include <ocidl.h>
#include <servprov.h>
#include <urlmon.h>
#include <windows.h>

#include "core/com/BrowserControl.h"
#include "support/ScriptedBrowserEngine.h"
#include "support/WindowTestSupport.h"

namespace {

using core::ScriptedBrowser;
using core::UrlActionAnswer;

// A site that answers each question as the test sets it and records what it was asked.
class FakeSite : public IDocHostUIHandler,
                 public IServiceProvider,
                 public IInternetSecurityManager,
                 public IHttpSecurity {
 public:
  // Answers.
  HRESULT accelerator = S_FALSE;
  HRESULT contextMenu = S_FALSE;
  DWORD hostFlags = 0;
  HRESULT urlAction = INET_E_DEFAULT_ACTION;
  DWORD policy = URLPOLICY_ALLOW;
  HRESULT securityProblem = S_FALSE;
  bool offersServices = true;
  // Records.
  std::vector<std::string> asked;
  MSG lastKey{};
  DWORD lastPolicySize = 0;
  DWORD lastAction = 0;
  std::u16string lastUrl;
  DWORD lastProblem = 0;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDocHostUIHandler) *object = static_cast<IDocHostUIHandler*>(this);
    if (iid == IID_IServiceProvider && offersServices) *object = static_cast<IServiceProvider*>(this);
    if (iid == IID_IInternetSecurityManager) *object = static_cast<IInternetSecurityManager*>(this);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  ULONG references = 1;

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
    asked.push_back("ShowContextMenu");
    return contextMenu;
  }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override {
    asked.push_back("GetHostInfo");
    info->dwFlags = hostFlags;
    return S_OK;
  }
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  STDMETHODIMP HideUI() override { return E_NOTIMPL; }
  STDMETHODIMP UpdateUI() override { return E_NOTIMPL; }
  STDMETHODIMP EnableModeless(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID*, DWORD) override {
    asked.push_back("TranslateAccelerator");
    lastKey = *msg;
    return accelerator;
  }
  STDMETHODIMP GetOptionKeyPath(LPOLESTR*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget**) override { return E_NOTIMPL; }
  STDMETHODIMP GetExternal(IDispatch**) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR*) override { return S_FALSE; }
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject**) override { return S_FALSE; }

  // IServiceProvider: the security manager under its service, IHttpSecurity under its own.
  STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** object) override {
    asked.push_back("QueryService");
    *object = nullptr;
    if (service == IID_IHttpSecurity && iid == IID_IHttpSecurity) *object = static_cast<IHttpSecurity*>(this);
    if (service == SID_SInternetSecurityManager && iid == IID_IInternetSecurityManager)
      *object = static_cast<IInternetSecurityManager*>(this);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  // IInternetSecurityManager
  STDMETHODIMP SetSecuritySite(IInternetSecurityMgrSite*) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetSecuritySite(IInternetSecurityMgrSite**) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP MapUrlToZone(LPCWSTR, DWORD*, DWORD) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP ProcessUrlAction(LPCWSTR url, DWORD action, BYTE* policyOut, DWORD policySize, BYTE*, DWORD, DWORD,
                                DWORD) override {
    asked.push_back("ProcessUrlAction");
    lastUrl = url;
    lastAction = action;
    lastPolicySize = policySize;
    if (urlAction != INET_E_DEFAULT_ACTION) std::memcpy(policyOut, &policy, sizeof(policy));
    return urlAction;
  }
  STDMETHODIMP QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD, DWORD) override {
    return INET_E_DEFAULT_ACTION;
  }
  STDMETHODIMP SetZoneMapping(DWORD, LPCWSTR, DWORD) override { return INET_E_DEFAULT_ACTION; }
  STDMETHODIMP GetZoneMappings(DWORD, IEnumString**, DWORD) override { return INET_E_DEFAULT_ACTION; }

  // IHttpSecurity
  STDMETHODIMP GetWindow(REFGUID, HWND* window) override {
    *window = nullptr;
    return S_OK;
  }
  STDMETHODIMP OnSecurityProblem(DWORD problem) override {
    asked.push_back("OnSecurityProblem");
    lastProblem = problem;
    return securityProblem;
  }
};

// An event sink that records each event's dispatch id, browser object and address, and can
// cancel the navigations it is told to.
class RecordingSink : public IDispatch {
 public:
  struct Event {
    DISPID dispid;
    IDispatch* browser;
    std::u16string url;
  };
  std::vector<Event> events;
  std::u16string cancelTarget;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    // The browser object comes first, so it is the last of rgvarg; the address follows it.
    const VARIANT& browser = params->rgvarg[params->cArgs - 1];
    const VARIANT& url = *params->rgvarg[params->cArgs - 2].pvarVal;
    EXPECT_EQ(browser.vt, VT_DISPATCH);
    EXPECT_EQ(params->rgvarg[params->cArgs - 2].vt, VT_BYREF | VT_VARIANT);
    EXPECT_EQ(url.vt, VT_BSTR);
    const std::u16string address(url.bstrVal, SysStringLen(url.bstrVal));
    events.push_back({dispid, browser.pdispVal, address});
    if (dispid == DISPID_BEFORENAVIGATE2) {
      EXPECT_EQ(params->cArgs, 7u);
      EXPECT_EQ(params->rgvarg[0].vt, VT_BYREF | VT_BOOL);
      if (address == cancelTarget) *params->rgvarg[0].pboolVal = VARIANT_TRUE;
    }
    return S_OK;
  }
};

class BrowserControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = core::InstallScriptedBrowserEngine();
    parent_ = CreateWindowExW(0, PlainWindowClass(), u"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    core::BrowserControl* made = nullptr;
    ASSERT_EQ(core::BrowserControl::Create(static_cast<IDocHostUIHandler*>(&site_), parent_, RECT{0, 0, 400, 300},
                                           WS_CHILD | WS_VISIBLE, 102, nullptr, &made),
              S_OK);
    control_.Attach(made);
    browser_ = static_cast<IWebBrowser2*>(made);
  }
  void TearDown() override {
    browser_ = nullptr;
    control_.Release();
    DestroyWindow(parent_);
    core::InstallBrowserEngine(nullptr);
  }
  ScriptedBrowser& View() { return engine_->LastBrowser(); }
  void Navigate(const char16_t* url) {
    CComBSTR address(url);
    ASSERT_EQ(browser_->Navigate(address, nullptr, nullptr, nullptr, nullptr), S_OK);
  }
  CComPtr<IHTMLDocument2> Document() {
    CComPtr<IDispatch> document;
    EXPECT_EQ(browser_->get_Document(&document), S_OK);
    CComQIPtr<IHTMLDocument2> html(document.p);
    return html;
  }

  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
  FakeSite site_;
  HWND parent_ = nullptr;
  CComPtr<core::BrowserControl> control_;
  IWebBrowser2* browser_ = nullptr;
};

TEST_F(BrowserControlTest, ANavigationsEventsComeInThePlatformsOrderAndACancelChangesNothing) {
  core::ScriptedPage page;
  page.frames = {u"page:inner"};
  engine_->AddPage(u"page:outer", page);
  RecordingSink sink;
  CComQIPtr<IConnectionPointContainer> points(browser_);
  CComPtr<IConnectionPoint> point;
  ASSERT_EQ(points->FindConnectionPoint(DIID_DWebBrowserEvents2, &point), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);

  Navigate(u"page:outer");
  // BeforeNavigate2 is raised inside Navigate; the rest waits for the message loop.
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].dispid, DISPID_BEFORENAVIGATE2);
  EXPECT_EQ(sink.events[0].browser, static_cast<IDispatch*>(browser_));
  CComPtr<IDispatch> none;
  EXPECT_EQ(browser_->get_Document(&none), S_OK);
  EXPECT_EQ(none, nullptr);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  const std::vector<std::pair<DISPID, std::u16string>> expected{
      {DISPID_BEFORENAVIGATE2, u"page:outer"}, {DISPID_NAVIGATECOMPLETE2, u"page:outer"},
      {DISPID_BEFORENAVIGATE2, u"page:inner"}, {DISPID_NAVIGATECOMPLETE2, u"page:inner"},
      {DISPID_DOCUMENTCOMPLETE, u"page:inner"}, {DISPID_DOCUMENTCOMPLETE, u"page:outer"}};
  std::vector<std::pair<DISPID, std::u16string>> seen;
  for (const auto& e : sink.events) seen.emplace_back(e.dispid, e.url);
  EXPECT_EQ(seen, expected);
  // The frame's events come with the frame's own browser object, which knows its address.
  IDispatch* frameBrowser = sink.events[2].browser;
  EXPECT_NE(frameBrowser, static_cast<IDispatch*>(browser_));
  EXPECT_EQ(sink.events[3].browser, frameBrowser);
  CComQIPtr<IWebBrowser2> frame(frameBrowser);
  CComBSTR frameUrl;
  frame->get_LocationURL(&frameUrl);
  EXPECT_EQ(std::u16string(frameUrl), u"page:inner");
  EXPECT_NE(Document(), nullptr);

  sink.events.clear();
  sink.cancelTarget = u"page:refused";
  Navigate(u"page:refused");
  engine_->DeliverPendingEvents();
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_TRUE(View().Navigations().back().cancelled);
  CComBSTR location;
  browser_->get_LocationURL(&location);
  EXPECT_EQ(std::u16string(location), u"page:outer");
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
}

TEST_F(BrowserControlTest, TheViewsQuestionsReachTheSite) {
  Navigate(u"page:a");
  engine_->DeliverPendingEvents();
  ScriptedBrowser& view = View();

  // Keys: the site sees the message first; F5 it does not take reloads.
  site_.accelerator = S_OK;
  EXPECT_TRUE(view.PressKey(VK_F5));
  EXPECT_EQ(site_.lastKey.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(site_.lastKey.wParam, static_cast<WPARAM>(VK_F5));
  EXPECT_EQ(site_.lastKey.hwnd, view.Window());
  EXPECT_EQ(view.Reloads(), 0);
  site_.accelerator = S_FALSE;
  EXPECT_FALSE(view.PressKey(VK_F5));
  EXPECT_EQ(view.Reloads(), 1);

  // Context menu: S_OK means the host showed (or refused) one.
  site_.contextMenu = S_OK;
  EXPECT_FALSE(view.RightClick(POINT{5, 6}));
  site_.contextMenu = S_FALSE;
  EXPECT_TRUE(view.RightClick(POINT{5, 6}));
  EXPECT_EQ(view.MenusShown().size(), 1u);

  site_.hostFlags = 0x4000C;
  EXPECT_EQ(view.AskHostFlags(), 0x4000Cu);

  // URL actions through the security manager the site offers as a service.
  struct UrlCase {
    const char* name;
    HRESULT answer;
    DWORD policy;
    UrlActionAnswer expected;
  } urlCases[] = {
      {"allowed", S_OK, URLPOLICY_ALLOW, UrlActionAnswer::Allow},
      {"refused", S_FALSE, URLPOLICY_DISALLOW, UrlActionAnswer::Disallow},
      {"left to the browser", INET_E_DEFAULT_ACTION, 0, UrlActionAnswer::Default},
  };
  for (const UrlCase& c : urlCases) {
    SCOPED_TRACE(c.name);
    site_.urlAction = c.answer;
    site_.policy = c.policy;
    EXPECT_EQ(view.AskToRunScript(), c.expected);
    EXPECT_EQ(site_.lastAction, static_cast<DWORD>(URLACTION_SCRIPT_RUN));
    EXPECT_EQ(site_.lastPolicySize, 4u);
    EXPECT_EQ(site_.lastUrl, u"page:a");
  }

  // Certificate problems through IHttpSecurity: only S_OK loads the page anyway.
  site_.securityProblem = S_OK;
  EXPECT_TRUE(view.RaiseCertificateProblem(ERROR_INTERNET_SEC_CERT_CN_INVALID));
  EXPECT_EQ(site_.lastProblem, static_cast<DWORD>(ERROR_INTERNET_SEC_CERT_CN_INVALID));
  site_.securityProblem = S_FALSE;
  EXPECT_FALSE(view.RaiseCertificateProblem(ERROR_INTERNET_INVALID_CA));

  // A site without services leaves both to the browser.
  site_.offersServices = false;
  site_.asked.clear();
  EXPECT_EQ(view.AskToRunScript(), UrlActionAnswer::Default);
  EXPECT_FALSE(view.RaiseCertificateProblem(ERROR_INTERNET_INVALID_CA));
  EXPECT_TRUE(site_.asked.empty());
}

// A stream over bytes that records the sizes it is asked for and can fail after some reads.
class PieceStream : public IStream {
 public:
  PieceStream(std::string bytes, int failAfter = -1) : bytes_(std::move(bytes)), failAfter_(failAfter) {}
  std::vector<ULONG> asked;

  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override {
    asked.push_back(count);
    if (failAfter_ >= 0 && static_cast<int>(asked.size()) > failAfter_) return E_UNEXPECTED;
    const ULONG n = static_cast<ULONG>(std::min<std::size_t>(count, bytes_.size() - at_));
    bytes_.copy(static_cast<char*>(buffer), n, at_);
    at_ += n;
    if (read != nullptr) *read = n;
    return S_OK;
  }
  STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
  STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
  STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
  STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Revert() override { return E_NOTIMPL; }
  STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

 private:
  std::string bytes_;
  std::size_t at_ = 0;
  int failAfter_;
};

TEST_F(BrowserControlTest, LoadReadsTheWholeStreamInPiecesAndGivesThePageToTheView) {
  Navigate(u"about:blank");
  engine_->DeliverPendingEvents();
  CComQIPtr<IPersistStreamInit> persist(Document().p);
  ASSERT_NE(persist, nullptr);

  std::string page = "<html><body><div id=\"note\"></div>";
  page.resize(10000, 'x');
  PieceStream stream(page);
  EXPECT_EQ(persist->Load(&stream), S_OK);
  // Pieces of 4 KiB until a read gives nothing.
  EXPECT_EQ(stream.asked, (std::vector<ULONG>{4096, 4096, 4096, 4096}));
  ASSERT_EQ(View().LoadedHtml().size(), 1u);
  EXPECT_EQ(View().LoadedHtml()[0], page);
  // The page from memory has no address; its elements are there for the host.
  EXPECT_EQ(View().Location(), u"");
  CComQIPtr<IHTMLDocument3> document(Document().p);
  CComPtr<IHTMLElement> note;
  EXPECT_EQ(document->getElementById(CComBSTR(u"note"), &note), S_OK);
  EXPECT_NE(note, nullptr);

  // A read that fails ends the load with its failure.
  PieceStream failing("abc", 0);
  EXPECT_EQ(persist->Load(&failing), E_UNEXPECTED);
  EXPECT_EQ(failing.asked.size(), 1u);
}

TEST_F(BrowserControlTest, TheViewWindowTakesTheEditCommandsSentToIt) {
  const HWND controlWindow = GetDlgItem(parent_, 102);
  ASSERT_NE(controlWindow, nullptr);
  const HWND viewWindow = FindWindowExW(controlWindow, nullptr, u"Internet Explorer_Server", nullptr);
  ASSERT_NE(viewWindow, nullptr);
  EXPECT_EQ(viewWindow, View().Window());
  for (UINT command : {IDM_COPY, IDM_CUT, IDM_PASTE}) SendMessageW(viewWindow, WM_COMMAND, command, 0);
  EXPECT_EQ(View().EditCommands(), (std::vector<UINT>{IDM_COPY, IDM_CUT, IDM_PASTE}));
  // The view fills the control as the control's size changes.
  MoveWindow(controlWindow, 10, 10, 200, 100, TRUE);
  RECT r{};
  GetClientRect(viewWindow, &r);
  EXPECT_EQ(r.right, 200);
  EXPECT_EQ(r.bottom, 100);
}

TEST_F(BrowserControlTest, TheDocumentsCommandsAndStyleSheetsReachTheView) {
  core::ScriptedPage page;
  page.enabledCommands = {{u"Copy", true}, {u"Paste", false}};
  engine_->AddPage(u"page:a", page);
  Navigate(u"page:a");
  engine_->DeliverPendingEvents();
  CComPtr<IHTMLDocument2> document = Document();
  ASSERT_NE(document, nullptr);

  VARIANT_BOOL enabled = VARIANT_FALSE;
  EXPECT_EQ(document->queryCommandEnabled(CComBSTR(u"Copy"), &enabled), S_OK);
  EXPECT_EQ(enabled, VARIANT_TRUE);
  EXPECT_EQ(document->queryCommandEnabled(CComBSTR(u"Paste"), &enabled), S_OK);
  EXPECT_EQ(enabled, VARIANT_FALSE);
  VARIANT missing;
  VariantInit(&missing);
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  VARIANT_BOOL done = VARIANT_TRUE;
  EXPECT_EQ(document->execCommand(CComBSTR(u"SelectAll"), VARIANT_FALSE, missing, &done), S_OK);
  EXPECT_EQ(View().ExecutedCommands(), (std::vector<std::u16string>{u"SelectAll"}));

  // Find is command 1 of the browser's own group.
  CComQIPtr<IOleCommandTarget> commands(document.p);
  ASSERT_NE(commands, nullptr);
  EXPECT_EQ(commands->Exec(&CGID_IWebBrowser, 1, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(View().FindsShown(), 1);
  EXPECT_EQ(commands->Exec(nullptr, 1, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);

  // A sheet made at index 0 stands before the page's others; rules keep their places.
  CComPtr<IHTMLStyleSheet> last;
  CComPtr<IHTMLStyleSheet> first;
  ASSERT_EQ(document->createStyleSheet(CComBSTR(u"late.css"), -1, &last), S_OK);
  ASSERT_EQ(document->createStyleSheet(CComBSTR(u""), 0, &first), S_OK);
  LONG index = -1;
  EXPECT_EQ(first->addRule(CComBSTR(u"body"), CComBSTR(u"overflow: auto"), 0, &index), S_OK);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(first->addRule(CComBSTR(u"p"), CComBSTR(u"margin: 0"), 0, &index), S_OK);
  const auto sheets = View().PageStyleSheets();
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0]->href, u"");
  EXPECT_EQ(sheets[1]->href, u"late.css");
  ASSERT_EQ(sheets[0]->rules.size(), 2u);
  EXPECT_EQ(sheets[0]->rules[0].selector, u"p");
  EXPECT_EQ(sheets[0]->rules[1].style, u"overflow: auto");

  // Outside a document event there is no current event.
  CComPtr<IHTMLWindow2> window;
  ASSERT_EQ(document->get_parentWindow(&window), S_OK);
  CComPtr<IHTMLEventObj> event;
  EXPECT_EQ(window->get_event(&event), S_OK);
  EXPECT_EQ(event, nullptr);

  // Once the control's window is gone, what it handed out answers without reaching the view.
  DestroyWindow(parent_);
  EXPECT_FALSE(View().IsOpen());
  CComBSTR url;
  EXPECT_EQ(document->get_URL(&url), E_UNEXPECTED);
  EXPECT_EQ(first->addRule(CComBSTR(u"body"), CComBSTR(u"x"), 0, &index), E_UNEXPECTED);
  EXPECT_EQ(browser_->Navigate(CComBSTR(u"page:b"), nullptr, nullptr, nullptr, nullptr), E_UNEXPECTED);
}

TEST(BrowserControl, CannotBeMadeWithoutAnEngine) {
  core::InstallBrowserEngine(nullptr);
  const HWND parent =
      CreateWindowExW(0, PlainWindowClass(), u"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  core::BrowserControl* control = nullptr;
  EXPECT_EQ(core::BrowserControl::Create(nullptr, parent, RECT{0, 0, 10, 10}, WS_CHILD, 102, nullptr, &control),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(control, nullptr);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
  DestroyWindow(parent);
}

}  // namespace
