#include "core/com/BrowserControl.h"

#include <string>
#include <unordered_map>

#include "BstrText.h"
#include "core/com/HtmlEventObject.h"
#include "VariantValues.h"
#include "core/user/WindowTeardown.h"
#include "mshtmcid.h"
#include "mshtmhst.h"
#include "servprov.h"
#include "urlmon.h"

namespace core {

const char16_t BrowserControl::kWindowClass[] = u"Shell Embedding";
const char16_t BrowserControl::kViewWindowClass[] = u"Internet Explorer_Server";

namespace {

// The control of each control window and view window, for their window procedures.
std::unordered_map<HWND, BrowserControl*>& ControlsByWindow() {
  static std::unordered_map<HWND, BrowserControl*> controls;
  return controls;
}

BrowserControl* ControlOfWindow(HWND window) {
  auto it = ControlsByWindow().find(window);
  return it != ControlsByWindow().end() ? it->second : nullptr;
}

LRESULT CALLBACK ControlWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      // The view fills the control.
      if (HWND view = FindWindowExW(window, nullptr, BrowserControl::kViewWindowClass, nullptr))
        MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (HWND view = FindWindowExW(window, nullptr, BrowserControl::kViewWindowClass, nullptr)) SetFocus(view);
      return 0;
    case WM_NCDESTROY:
      if (BrowserControl* control = ControlOfWindow(window)) control->WindowDestroyed(window);
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ViewWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (BrowserControl* control = ControlOfWindow(window)) return control->OnViewCommand(wParam);
      return 0;
    // A key reaches the page's window as a message when its host took it from the browser's
    // own handling to give its dialog the first look (IsDialogMessage dispatches it here).
    case WM_KEYDOWN:
      if (BrowserControl* control = ControlOfWindow(window)) return control->OnViewKeyDown(wParam);
      return 0;
    case WM_DESTROY:
      if (BrowserControl* control = ControlOfWindow(window)) control->CloseView();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
      if (BrowserControl* control = ControlOfWindow(window)) control->WindowDestroyed(window);
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterWindowClasses() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlWindowProcedure;
    wc.lpszClassName = BrowserControl::kWindowClass;
    RegisterClassExW(&wc);
    wc.lpfnWndProc = ViewWindowProcedure;
    wc.lpszClassName = BrowserControl::kViewWindowClass;
    RegisterClassExW(&wc);
    return true;
  }();
  (void)registered;
}

VARIANT ByReference(VARIANT* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = target;
  return v;
}

VARIANT FlagReference(VARIANT_BOOL* flag) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_BOOL;
  v.pboolVal = flag;
  return v;
}

}  // namespace

// ---- Making and ending --------------------------------------------------------------------

// CLSID_WebBrowser's class object: one for the process, never deleted.
class BrowserControl::ClassFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

BrowserControl::BrowserControl(BrowserContextRef context, std::shared_ptr<BrowserEngine> engine)
    : FrameBrowser(std::move(context), 0), engine_(std::move(engine)) {
  context_->control = this;
  events_.Attach(new ConnectionPoint(DIID_DWebBrowserEvents2, static_cast<IConnectionPointContainer*>(this)));
}

BrowserControl::~BrowserControl() {
  events_->DisconnectAll();
  for (auto& [frame, document] : documents_) document->Close();
  context_->control = nullptr;
  if (viewWindow_ != nullptr) ControlsByWindow().erase(viewWindow_);
  if (window_ != nullptr) ControlsByWindow().erase(window_);
  context_->view.reset();
  if (window_ != nullptr && !IsBeingDestroyed(window_)) DestroyWindow(window_);
}

HRESULT BrowserControl::Create(IUnknown* site, HWND parent, const RECT& rect, DWORD style, UINT id, LPCWSTR windowName,
                               BrowserControl** control) {
  if (control == nullptr) return E_POINTER;
  *control = nullptr;
  std::shared_ptr<BrowserEngine> engine = CurrentBrowserEngine();
  if (engine == nullptr) return REGDB_E_CLASSNOTREG;
  CComPtr<BrowserControl> made;
  made.Attach(new BrowserControl(std::make_shared<BrowserContext>(), std::move(engine)));
  made->site_ = site;
  const HRESULT hr = made->MakeWindows(parent, rect, style, id, windowName);
  if (FAILED(hr)) return hr;
  *control = made.Detach();
  return S_OK;
}

HRESULT BrowserControl::GetClassObject(REFIID iid, void** object) {
  static ClassFactory factory;
  return factory.QueryInterface(iid, object);
}

STDMETHODIMP BrowserControl::ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  // The class is there only while an engine can show its pages.
  std::shared_ptr<BrowserEngine> engine = CurrentBrowserEngine();
  if (engine == nullptr) return REGDB_E_CLASSNOTREG;
  CComPtr<IWebBrowser2> made;
  made.Attach(new BrowserControl(std::make_shared<BrowserContext>(), std::move(engine)));
  return made->QueryInterface(iid, object);
}

HRESULT BrowserControl::MakeWindows(HWND parent, const RECT& rect, DWORD style, UINT id, LPCWSTR windowName) {
  RegisterWindowClasses();
  const HWND window = CreateWindowExW(0, kWindowClass, windowName != nullptr ? windowName : u"",
                                      style | WS_CHILD | WS_CLIPCHILDREN, rect.left, rect.top, rect.right - rect.left,
                                      rect.bottom - rect.top, parent,
                                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  if (window == nullptr) return E_FAIL;
  window_ = window;
  ControlsByWindow()[window] = this;
  RECT client{};
  GetClientRect(window, &client);
  const HWND viewWindow = CreateWindowExW(0, kViewWindowClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                          client.bottom, window, nullptr, nullptr, nullptr);
  if (viewWindow == nullptr) return E_FAIL;  // the control's window goes with the control
  viewWindow_ = viewWindow;
  ControlsByWindow()[viewWindow] = this;
  std::unique_ptr<BrowserView> view = engine_->CreateView(viewWindow, *this);
  if (view == nullptr) return E_FAIL;
  context_->view = std::move(view);
  return S_OK;
}

void BrowserControl::CloseView() { context_->view.reset(); }

void BrowserControl::WindowDestroyed(HWND window) {
  ControlsByWindow().erase(window);
  if (window == window_) window_ = nullptr;
  if (window == viewWindow_) viewWindow_ = nullptr;
}

// ---- Embedding and in-place activation ----------------------------------------------------

STDMETHODIMP BrowserControl::SetClientSite(IOleClientSite* pClientSite) {
  site_ = pClientSite;
  return S_OK;
}

STDMETHODIMP BrowserControl::GetClientSite(IOleClientSite** ppClientSite) {
  if (ppClientSite == nullptr) return E_POINTER;
  *ppClientSite = nullptr;
  if (site_ == nullptr) return S_OK;
  return site_->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(ppClientSite));
}

STDMETHODIMP BrowserControl::Close(DWORD) {
  // There is nothing to save: a page is only shown.
  return InPlaceDeactivate();
}

STDMETHODIMP BrowserControl::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent,
                                    LPCRECT lprcPosRect) {
  switch (iVerb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE: {
      if (!inPlaceActive_) {
        const HRESULT hr = ActivateInPlace(pActiveSite, hwndParent, lprcPosRect);
        if (FAILED(hr)) return hr;
      }
      if (window_ != nullptr && iVerb != OLEIVERB_INPLACEACTIVATE) ShowWindow(window_, SW_SHOW);
      return S_OK;
    }
    case OLEIVERB_HIDE:
      if (window_ != nullptr) ShowWindow(window_, SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default:
      return OLEOBJ_E_INVALIDVERB;
  }
}

// The site decides whether and where: CanInPlaceActivate, then its window and the place it
// gives, unless the caller named them.
HRESULT BrowserControl::ActivateInPlace(IOleClientSite* activeSite, HWND parent, LPCRECT rect) {
  CComPtr<IOleInPlaceSite> site;
  IUnknown* asked = activeSite != nullptr ? static_cast<IUnknown*>(activeSite) : site_.p;
  if (asked == nullptr) return E_UNEXPECTED;
  if (FAILED(asked->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&site))) || site == nullptr)
    return E_NOINTERFACE;
  if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
  if (parent == nullptr && FAILED(site->GetWindow(&parent))) return E_FAIL;
  CComPtr<IOleInPlaceFrame> frame;
  CComPtr<IOleInPlaceUIWindow> document;
  RECT place{}, clip{};
  OLEINPLACEFRAMEINFO frameInfo{};
  frameInfo.cb = sizeof(frameInfo);
  if (FAILED(site->GetWindowContext(&frame, &document, &place, &clip, &frameInfo))) return E_FAIL;
  if (rect != nullptr) place = *rect;
  site->OnInPlaceActivate();
  inPlaceActive_ = true;
  const HRESULT hr = MakeWindows(parent, place, WS_VISIBLE, 0, nullptr);
  if (FAILED(hr)) {
    InPlaceDeactivate();
    return hr;
  }
  return S_OK;
}

STDMETHODIMP BrowserControl::GetWindow(HWND* phwnd) {
  if (phwnd == nullptr) return E_POINTER;
  *phwnd = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP BrowserControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP BrowserControl::InPlaceDeactivate() {
  if (!inPlaceActive_ && window_ == nullptr) return S_OK;
  // Unless it is going with its parent already, the control's window goes, the view with it.
  if (window_ != nullptr && !IsBeingDestroyed(window_)) DestroyWindow(window_);
  if (inPlaceActive_) {
    inPlaceActive_ = false;
    CComPtr<IOleInPlaceSite> site = SiteInterface<IOleInPlaceSite>();
    if (site != nullptr) site->OnInPlaceDeactivate();
  }
  return S_OK;
}

STDMETHODIMP BrowserControl::UIDeactivate() { return S_OK; }

STDMETHODIMP BrowserControl::SetObjectRects(LPCRECT lprcPosRect, LPCRECT) {
  if (lprcPosRect == nullptr) return E_INVALIDARG;
  if (window_ == nullptr) return OLE_E_NOT_INPLACEACTIVE;
  MoveWindow(window_, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
             lprcPosRect->bottom - lprcPosRect->top, TRUE);
  return S_OK;
}

STDMETHODIMP BrowserControl::ReactivateAndUndo() { return E_NOTIMPL; }

// ---- COM ----------------------------------------------------------------------------------

STDMETHODIMP BrowserControl::QueryInterface(REFIID iid, void** object) { return FrameBrowser::QueryInterface(iid, object); }
STDMETHODIMP_(ULONG) BrowserControl::AddRef() { return FrameBrowser::AddRef(); }
STDMETHODIMP_(ULONG) BrowserControl::Release() { return FrameBrowser::Release(); }

void* BrowserControl::FindInterface(REFIID iid) {
  if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  if (iid == IID_IOleObject) return static_cast<IOleObject*>(this);
  if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow) return static_cast<IOleInPlaceObject*>(this);
  return FrameBrowser::FindInterface(iid);
}

STDMETHODIMP BrowserControl::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum != nullptr) *ppEnum = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (ppCP == nullptr) return E_POINTER;
  *ppCP = nullptr;
  if (riid != DIID_DWebBrowserEvents2) return CONNECT_E_NOCONNECTION;
  *ppCP = events_.p;
  (*ppCP)->AddRef();
  return S_OK;
}

HtmlDocument* BrowserControl::DocumentOf(BrowserFrame frame) {
  CComPtr<HtmlDocument>& document = documents_[frame];
  if (document == nullptr) document.Attach(new HtmlDocument(context_, frame));
  return document;
}

IDispatch* BrowserControl::BrowserOf(BrowserFrame frame) {
  if (frame == 0) return static_cast<IWebBrowser2*>(this);
  CComPtr<FrameBrowser>& browser = frames_[frame];
  if (browser == nullptr) browser.Attach(new FrameBrowser(context_, frame));
  return static_cast<IWebBrowser2*>(browser.p);
}

LRESULT BrowserControl::OnViewKeyDown(WPARAM key) {
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view != nullptr && key == VK_F5) view->Reload();
  return 0;
}

// The page window's commands are the document's editing commands.
LRESULT BrowserControl::OnViewCommand(WPARAM wParam) {
  DocumentOf(0)->Exec(&CGID_MSHTML, LOWORD(wParam), OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
  return 0;
}

// ---- The view's reports: events -----------------------------------------------------------

void BrowserControl::Fire(DISPID dispid, DISPPARAMS* params) {
  // A sink may let go of the control (and destroy its window) while the event is delivered.
  CComPtr<IWebBrowser2> keep(this);
  const std::shared_ptr<BrowserView> view = context_->view;
  events_->Fire(dispid, params);
}

bool BrowserControl::BeforeNavigate(const BrowserNavigation& navigation) {
  CComVariant url = TextVariant(navigation.url);
  CComVariant flags(static_cast<LONG>(navigation.flags));
  CComVariant target = TextVariant(navigation.targetFrame);
  CComVariant postData = BytesVariant(navigation.postData.data(), navigation.postData.size());
  CComVariant headers = TextVariant(navigation.headers);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  // Arguments go last first.
  VARIANT args[7] = {FlagReference(&cancel), ByReference(&headers), ByReference(&postData), ByReference(&target),
                     ByReference(&flags),    ByReference(&url),     BorrowedDispatch(BrowserOf(navigation.frame))};
  DISPPARAMS params{args, nullptr, 7, 0};
  Fire(DISPID_BEFORENAVIGATE2, &params);
  return cancel != VARIANT_FALSE;
}

void BrowserControl::NavigateComplete(BrowserFrame frame, std::u16string_view url) {
  CComVariant address = TextVariant(url);
  VARIANT args[2] = {ByReference(&address), BorrowedDispatch(BrowserOf(frame))};
  DISPPARAMS params{args, nullptr, 2, 0};
  Fire(DISPID_NAVIGATECOMPLETE2, &params);
}

void BrowserControl::DocumentComplete(BrowserFrame frame, std::u16string_view url) {
  CComVariant address = TextVariant(url);
  VARIANT args[2] = {ByReference(&address), BorrowedDispatch(BrowserOf(frame))};
  DISPPARAMS params{args, nullptr, 2, 0};
  Fire(DISPID_DOCUMENTCOMPLETE, &params);
}

bool BrowserControl::NavigateError(BrowserFrame frame, std::u16string_view url, std::u16string_view targetFrame,
                                   LONG status) {
  CComVariant address = TextVariant(url);
  CComVariant target = TextVariant(targetFrame);
  CComVariant code(status);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[5] = {FlagReference(&cancel), ByReference(&code), ByReference(&target), ByReference(&address),
                     BorrowedDispatch(BrowserOf(frame))};
  DISPPARAMS params{args, nullptr, 5, 0};
  Fire(DISPID_NAVIGATEERROR, &params);
  return cancel != VARIANT_FALSE;
}

bool BrowserControl::DocumentEvent(DISPID event, BrowserEventState& state) {
  CComPtr<IWebBrowser2> keep(this);
  CComPtr<HtmlEventObject> eventObject;
  eventObject.Attach(new HtmlEventObject(DocumentEventType(event), state));
  // window.event is this event while its sinks run.
  IHTMLEventObj* outer = context_->currentEvent;
  context_->currentEvent = eventObject;
  DocumentOf(0)->FireEvent(event, eventObject);
  context_->currentEvent = outer;
  state.returnValue = eventObject->ReturnValue();
  return state.returnValue.has_value() && !*state.returnValue;
}

// ---- The view's questions: the site -------------------------------------------------------

template <class Interface>
CComPtr<Interface> BrowserControl::SiteInterface() const {
  CComPtr<Interface> found;
  if (site_ != nullptr) site_->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&found));
  return found;
}

template <class Interface>
CComPtr<Interface> BrowserControl::SiteService(const IID& service) const {
  CComPtr<Interface> found;
  CComPtr<IServiceProvider> provider = SiteInterface<IServiceProvider>();
  if (provider != nullptr) provider->QueryService(service, __uuidof(Interface), reinterpret_cast<void**>(&found));
  return found;
}

bool BrowserControl::TranslateAccelerator(const MSG& message) {
  CComPtr<IDocHostUIHandler> handler = SiteInterface<IDocHostUIHandler>();
  if (handler == nullptr) return false;
  MSG copy = message;
  return handler->TranslateAccelerator(&copy, nullptr, 0) == S_OK;
}

bool BrowserControl::ShowContextMenu(POINT screenPoint) {
  CComPtr<IDocHostUIHandler> handler = SiteInterface<IDocHostUIHandler>();
  if (handler == nullptr) return false;
  CComPtr<IUnknown> commands(static_cast<IOleCommandTarget*>(DocumentOf(0)));
  POINT point = screenPoint;
  return handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, commands, nullptr) == S_OK;
}

UrlActionAnswer BrowserControl::ProcessUrlAction(std::u16string_view url, DWORD action) {
  CComPtr<IInternetSecurityManager> manager = SiteService<IInternetSecurityManager>(SID_SInternetSecurityManager);
  if (manager == nullptr) return UrlActionAnswer::Default;
  const std::u16string address(url);
  // Anything the manager leaves unwritten reads as no policy at all.
  DWORD policy = 0xFFFFFFFF;
  const HRESULT hr = manager->ProcessUrlAction(address.c_str(), action, reinterpret_cast<BYTE*>(&policy), sizeof(policy),
                                               nullptr, 0, PUAF_DEFAULT, 0);
  if (FAILED(hr)) return UrlActionAnswer::Default;  // INET_E_DEFAULT_ACTION among them
  // The permission is the policy's low four bits.
  if ((policy & 0x0F) == URLPOLICY_ALLOW && policy != 0xFFFFFFFF) return UrlActionAnswer::Allow;
  if ((policy & 0x0F) == URLPOLICY_DISALLOW && policy != 0xFFFFFFFF) return UrlActionAnswer::Disallow;
  return UrlActionAnswer::Default;
}

bool BrowserControl::ContinueDespiteSecurityProblem(DWORD problem) {
  CComPtr<IHttpSecurity> security = SiteService<IHttpSecurity>(IID_IHttpSecurity);
  // Without a host that says go on, a page with a certificate problem does not load.
  return security != nullptr && security->OnSecurityProblem(problem) == S_OK;
}

DWORD BrowserControl::HostFlags() {
  CComPtr<IDocHostUIHandler> handler = SiteInterface<IDocHostUIHandler>();
  if (handler == nullptr) return 0;
  DOCHOSTUIINFO info{};
  info.cbSize = sizeof(info);
  return SUCCEEDED(handler->GetHostInfo(&info)) ? info.dwFlags : 0;
}

bool BrowserControl::ShowMessage(std::u16string_view text, std::u16string_view caption, DWORD type, LRESULT* result) {
  CComPtr<IDocHostShowUI> ui = SiteInterface<IDocHostShowUI>();
  if (ui == nullptr) return false;
  std::u16string message(text);
  std::u16string title(caption);
  LRESULT answer = 0;
  const bool shown =
      ui->ShowMessage(viewWindow_, message.data(), title.data(), type, nullptr, 0, &answer) == S_OK;
  if (shown && result != nullptr) *result = answer;
  return shown;
}

bool BrowserControl::ShowHelp(POINT screenPoint) {
  CComPtr<IDocHostShowUI> ui = SiteInterface<IDocHostShowUI>();
  return ui != nullptr && ui->ShowHelp(viewWindow_, nullptr, 0, 0, screenPoint, nullptr) == S_OK;
}

}  // namespace core
