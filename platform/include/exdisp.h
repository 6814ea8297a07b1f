// The web browser control: IWebBrowser2 and its bases, its class, its events' interface and
// the navigation flags.
#pragma once

#include "oaidl.h"
#include "exdispid.h"

enum BrowserNavConstants {
  navOpenInNewWindow = 0x1,
  navNoHistory = 0x2,
  navNoReadFromCache = 0x4,
  navNoWriteToCache = 0x8,
  navAllowAutosearch = 0x10,
  navBrowserBar = 0x20,
  navHyperlink = 0x40,
};

extern const CLSID CLSID_WebBrowser;
extern const IID IID_IWebBrowser;
extern const IID IID_IWebBrowser2;
// The events' interface; the control calls its sinks' IDispatch::Invoke with the DISPIDs of
// exdispid.h.
extern const IID DIID_DWebBrowserEvents2;

struct IWebBrowser : public IDispatch {
  // Flags (VT_I4), TargetFrameName (VT_BSTR), PostData (VT_ARRAY | VT_UI1) and Headers
  // (VT_BSTR) may be null or VT_EMPTY. The BeforeNavigate2 event is raised before this returns.
  STDMETHOD(Navigate)(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers) PURE;
  STDMETHOD(Refresh)() PURE;
  // The current document (IHTMLDocument2 for a page), or null while there is none.
  STDMETHOD(get_Document)(IDispatch** ppDisp) PURE;
  STDMETHOD(get_LocationName)(BSTR* LocationName) PURE;
  STDMETHOD(get_LocationURL)(BSTR* LocationURL) PURE;
};
TSR_INTERFACE_ID(IWebBrowser, IID_IWebBrowser);

// The platform puts the application window's interface (IWebBrowserApp) between the two; the
// control answers none of it.
struct IWebBrowser2 : public IWebBrowser {
  STDMETHOD(Navigate2)(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData, VARIANT* Headers) PURE;
  // Silent: the browser shows no dialog boxes of its own (script errors and the like).
  STDMETHOD(get_Silent)(VARIANT_BOOL* pbSilent) PURE;
  STDMETHOD(put_Silent)(VARIANT_BOOL bSilent) PURE;
  // Whether a file dropped on the page is opened in the browser.
  STDMETHOD(get_RegisterAsDropTarget)(VARIANT_BOOL* pbRegister) PURE;
  STDMETHOD(put_RegisterAsDropTarget)(VARIANT_BOOL bRegister) PURE;
};
TSR_INTERFACE_ID(IWebBrowser2, IID_IWebBrowser2);
