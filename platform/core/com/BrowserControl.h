// The web browser control (CLSID_WebBrowser): an object with IWebBrowser2 for its top-level
// frame, connection points for its events (DWebBrowserEvents2), embedding and in-place
// activation (IOleObject, IOleInPlaceObject), a document per frame, and two windows: the control's own ("Shell Embedding", with the identifier its container
// gives) and inside it the view's ("Internet Explorer_Server"). It is the view's host: the
// view's reports become the events' DISPPARAMS, and the view's questions go to the control's
// site (IDocHostUIHandler, IDocHostShowUI, IServiceProvider for the security manager and
// IHttpSecurity).
#pragma once

#include <map>
#include <memory>

#include "atlbase.h"
#include "core/com/ConnectionPoint.h"
#include "core/com/FrameBrowser.h"
#include "core/com/HtmlDocument.h"
#include "oleidl.h"

namespace core {

class BrowserControl final : public FrameBrowser,
                             public IConnectionPointContainer,
                             public IOleObject,
                             public IOleInPlaceObject,
                             public BrowserHost {
 public:
  // The control's window class and the view's.
  static const char16_t kWindowClass[];
  static const char16_t kViewWindowClass[];

  // Makes the control, its windows (a child of parent with identifier id) and its view from
  // the installed engine. site (may be null) is asked the host's questions from then on.
  // REGDB_E_CLASSNOTREG when no engine is installed, E_FAIL when a window or the view cannot
  // be made; nothing is left over then.
  static HRESULT Create(IUnknown* site, HWND parent, const RECT& rect, DWORD style, UINT id, LPCWSTR windowName,
                        BrowserControl** control);
  // The class object (IClassFactory) of CLSID_WebBrowser, as the class table hands it out.
  // Its CreateInstance makes a control without windows; they come with in-place activation.
  static HRESULT GetClassObject(REFIID iid, void** object);

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IConnectionPointContainer: DIID_DWebBrowserEvents2.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // IOleObject. The site's host interfaces (IDocHostUIHandler, IDocHostShowUI,
  // IServiceProvider) are asked of the client site.
  STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
  STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
  STDMETHODIMP Close(DWORD dwSaveOption) override;
  STDMETHODIMP DoVerb(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                      LPCRECT lprcPosRect) override;

  // IOleInPlaceObject
  STDMETHODIMP GetWindow(HWND* phwnd) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
  STDMETHODIMP ReactivateAndUndo() override;

  // BrowserHost
  bool BeforeNavigate(const BrowserNavigation& navigation) override;
  void NavigateComplete(BrowserFrame frame, std::u16string_view url) override;
  void DocumentComplete(BrowserFrame frame, std::u16string_view url) override;
  bool NavigateError(BrowserFrame frame, std::u16string_view url, std::u16string_view targetFrame,
                     LONG status) override;
  bool DocumentEvent(DISPID event, BrowserEventState& state) override;
  bool TranslateAccelerator(const MSG& message) override;
  bool ShowContextMenu(POINT screenPoint) override;
  UrlActionAnswer ProcessUrlAction(std::u16string_view url, DWORD action) override;
  bool ContinueDespiteSecurityProblem(DWORD problem) override;
  DWORD HostFlags() override;
  bool ShowMessage(std::u16string_view text, std::u16string_view caption, DWORD type, LRESULT* result) override;
  bool ShowHelp(POINT screenPoint) override;

  HWND Window() const { return window_; }
  // The view's window is going: the view goes with it.
  void CloseView();
  // One of the control's windows is gone; its handle is forgotten.
  void WindowDestroyed(HWND window);
  // The document of a frame (made on first use); the control keeps it.
  HtmlDocument* DocumentOf(BrowserFrame frame);
  // The browser object of a frame: the control itself for frame 0.
  IDispatch* BrowserOf(BrowserFrame frame);
  // Sends WM_COMMAND's browser commands on to the view.
  LRESULT OnViewCommand(WPARAM wParam);
  // A key the view's window received as a message: F5 reloads the page.
  LRESULT OnViewKeyDown(WPARAM key);

 private:
  class ClassFactory;
  BrowserControl(BrowserContextRef context, std::shared_ptr<BrowserEngine> engine);
  ~BrowserControl() override;
  // The control's window (a child of parent with identifier id), the view's inside it and the
  // view; E_FAIL when one cannot be made (what was made goes with the control).
  HRESULT MakeWindows(HWND parent, const RECT& rect, DWORD style, UINT id, LPCWSTR windowName);
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT rect);
  void* FindInterface(REFIID iid) override;
  template <class Interface>
  CComPtr<Interface> SiteInterface() const;
  template <class Interface>
  CComPtr<Interface> SiteService(const IID& service) const;
  void Fire(DISPID dispid, DISPPARAMS* params);

  std::shared_ptr<BrowserEngine> engine_;
  CComPtr<IUnknown> site_;
  CComPtr<ConnectionPoint> events_;
  std::map<BrowserFrame, CComPtr<HtmlDocument>> documents_;
  std::map<BrowserFrame, CComPtr<FrameBrowser>> frames_;
  HWND window_ = nullptr;
  HWND viewWindow_ = nullptr;
  // Between in-place activation and deactivation; the site heard OnInPlaceActivate.
  bool inPlaceActive_ = false;
};

}  // namespace core
