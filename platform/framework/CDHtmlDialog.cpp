// The framework's HTML dialog: the browser control made in OnInitDialog, the browser's
// events through the event sink map, the current document and address kept for the
// top-level browser, and the document's events through DHtmlEventHook.
#include "afxdhtml.h"

#include <string>

#include <windows.h>
#include <exdispid.h>
#include <libloaderapi.h>
#include <ocidl.h>

#include "ComObject.h"
#include "GuardedComCall.h"
#include "SdkGaps.h"
#include "VariantValues.h"
#include "WideText.h"

// The document's events while the dialog holds the document: each goes to DHtmlEventHook.
class CDHtmlDialog::DocumentEventSink : public core::ComObject<core::DispatchWithoutTypes<IDispatch>> {
 public:
  explicit DocumentEventSink(CDHtmlDialog* dialog) : dialog_(dialog) {}
  void Forget() { dialog_ = nullptr; }

  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                      UINT* argError) override {
    if (dialog_ == nullptr) return S_OK;
    return GuardedComCall([&] {
      HRESULT hr = S_OK;
      if (dialog_->DHtmlEventHook(&hr, dispid, params, result, excepInfo, argError)) return hr;
      // The framework's own handling of document events: there is none to do.
      return HRESULT{S_OK};
    });
  }

 private:
  void* FindInterface(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_HTMLDocumentEvents2)
      return static_cast<IDispatch*>(this);
    return nullptr;
  }

  CDHtmlDialog* dialog_;
};

BOOL CDHtmlEventSink::DHtmlEventHook(HRESULT*, DISPID, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return FALSE; }

BEGIN_MESSAGE_MAP(CDHtmlDialog, CDialog)
  ON_WM_DESTROY()
  ON_WM_SIZE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDHtmlDialog, CDialog)
  ON_EVENT(CDHtmlDialog, AFX_IDC_BROWSER, DISPID_BEFORENAVIGATE2, _OnBeforeNavigate2,
           VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
  ON_EVENT(CDHtmlDialog, AFX_IDC_BROWSER, DISPID_NAVIGATECOMPLETE2, _OnNavigateComplete2, VTS_DISPATCH VTS_PVARIANT)
  ON_EVENT(CDHtmlDialog, AFX_IDC_BROWSER, DISPID_DOCUMENTCOMPLETE, _OnDocumentComplete, VTS_DISPATCH VTS_PVARIANT)
END_EVENTSINK_MAP()

namespace {

// The event's address as the notifications take it: the BSTR itself, which always ends with
// a zero unit, so handing it on costs no copy; "" when there is none.
LPCWSTR AddressOf(const VARIANT* url) {
  while (url != nullptr && url->vt == (VT_BYREF | VT_VARIANT)) url = url->pvarVal;
  if (url == nullptr) return WIDE("");
  if (url->vt == VT_BSTR && url->bstrVal != nullptr) return url->bstrVal;
  if (url->vt == (VT_BYREF | VT_BSTR) && url->pbstrVal != nullptr && *url->pbstrVal != nullptr) return *url->pbstrVal;
  return WIDE("");
}

// A missing text is no argument at all.
CComVariant Text(LPCWSTR text) { return text != nullptr ? core::TextVariant(text) : CComVariant(); }

}  // namespace

// ---- Making and ending --------------------------------------------------------------------

CDHtmlDialog::CDHtmlDialog() : CDHtmlDialog(0u, 0u, nullptr) {}

CDHtmlDialog::CDHtmlDialog(UINT templateId, UINT htmlResId, CWnd* parent)
    : CDialog(templateId, parent),
      m_szHtmlResID(nullptr),
      m_nHtmlResID(htmlResId),
      m_dwHostFlags(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO),
      m_bUseHtmlTitle(FALSE) {}

CDHtmlDialog::CDHtmlDialog(LPCWSTR templateName, LPCWSTR htmlResId, CWnd* parent)
    : CDialog(templateName, parent),
      m_szHtmlResID(const_cast<LPWSTR>(htmlResId)),
      m_nHtmlResID(0),
      m_dwHostFlags(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO),
      m_bUseHtmlTitle(FALSE) {}

CDHtmlDialog::~CDHtmlDialog() {
  ReleaseBrowser();
  if (documentSink_ != nullptr) {
    documentSink_->Forget();
    documentSink_->Release();
    documentSink_ = nullptr;
  }
}

void CDHtmlDialog::ReleaseBrowser() {
  DisconnectDHtmlEvents();
  m_spHtmlDoc.Release();
  m_pBrowserApp.Release();
  DestroyControlContainer();
}

void CDHtmlDialog::OnDestroy() {
  ReleaseBrowser();
  CDialog::OnDestroy();
}

void CDHtmlDialog::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (m_wndBrowser.m_hWnd != nullptr && type != SIZE_MINIMIZED) m_wndBrowser.MoveWindow(0, 0, cx, cy);
}

BOOL CDHtmlDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  // A browser control that the dialog has already is taken over.
  COleControlSite* site = m_pCtrlCont != nullptr ? m_pCtrlCont->FindItem(AFX_IDC_BROWSER) : nullptr;
  if (site != nullptr && SUCCEEDED(site->m_pObject->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowserApp)))) {
    if (m_wndBrowser.m_hWnd == nullptr && site->m_pWndCtrl == nullptr) m_wndBrowser.SubclassWindow(site->m_hWnd);
  } else {
    CRect client;
    GetClientRect(&client);
    m_wndBrowser.CreateControl(CLSID_WebBrowser, nullptr, WS_VISIBLE | WS_CHILD, client, this, AFX_IDC_BROWSER);
    LPUNKNOWN control = m_wndBrowser.GetControlUnknown();
    if (control == nullptr ||
        FAILED(control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowserApp)))) {
      // Without a browser the dialog has nothing to show.
      m_pBrowserApp.Release();
      m_wndBrowser.DestroyWindow();
      DestroyWindow();
      return TRUE;
    }
  }
  if (m_szHtmlResID != nullptr)
    LoadFromResource(m_szHtmlResID);
  else if (m_nHtmlResID != 0)
    LoadFromResource(m_nHtmlResID);
  else if (!m_strCurrentUrl.IsEmpty())
    Navigate(m_strCurrentUrl);
  return TRUE;
}

// ---- Navigating ---------------------------------------------------------------------------

void CDHtmlDialog::Navigate(LPCWSTR url, DWORD flags, LPCWSTR targetFrameName, LPCWSTR headers, LPVOID postData,
                            DWORD postDataLength) {
  if (m_pBrowserApp == nullptr) return;
  CComBSTR address(url != nullptr ? url : WIDE(""));
  CComVariant flagsVariant(static_cast<LONG>(flags));
  CComVariant target = Text(targetFrameName);
  CComVariant headersVariant = Text(headers);
  CComVariant post = core::BytesVariant(postData, postDataLength);
  m_pBrowserApp->Navigate(address, &flagsVariant, &target, &post, &headersVariant);
}

// The HTML resource is shown from the module's res: address, as the platform's browser does.
BOOL CDHtmlDialog::LoadFromResource(LPCWSTR resource) {
  if (m_pBrowserApp == nullptr || resource == nullptr) return FALSE;
  WCHAR module[1024];
  const DWORD length = ::GetModuleFileNameW(AfxGetResourceHandle(), module, 1024);
  if (length == 0 || length >= 1024) return FALSE;
  CStringW address(WIDE("res://"));
  address += module;
  address += WIDE("/");
  if (IS_INTRESOURCE(resource)) {
    CStringW number;
    number.Format(WIDE("%u"), static_cast<UINT>(LOWORD(reinterpret_cast<ULONG_PTR>(resource))));
    address += number;
  } else {
    address += resource;
  }
  Navigate(address);
  return TRUE;
}

BOOL CDHtmlDialog::LoadFromResource(UINT resourceId) { return LoadFromResource(MAKEINTRESOURCEW(resourceId)); }

// ---- The browser's events -----------------------------------------------------------------

BOOL CDHtmlDialog::IsTopLevelBrowser(LPDISPATCH dispatch) const {
  return dispatch != nullptr && m_pBrowserApp != nullptr && m_pBrowserApp.IsEqualObject(dispatch);
}

void CDHtmlDialog::_OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                      BOOL*) {
  OnBeforeNavigate(dispatch, AddressOf(URL));
}

void CDHtmlDialog::_OnNavigateComplete2(LPDISPATCH dispatch, VARIANT* URL) {
  OnNavigateComplete(dispatch, AddressOf(URL));
}

void CDHtmlDialog::_OnDocumentComplete(LPDISPATCH dispatch, VARIANT* URL) {
  OnDocumentComplete(dispatch, AddressOf(URL));
}

void CDHtmlDialog::OnBeforeNavigate(LPDISPATCH dispatch, LPCWSTR) {
  if (!IsTopLevelBrowser(dispatch)) return;
  // The page that is about to go is no longer the dialog's.
  DisconnectDHtmlEvents();
  m_spHtmlDoc.Release();
  m_strCurrentUrl.Empty();
}

void CDHtmlDialog::OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url) {
  if (!IsTopLevelBrowser(dispatch)) return;
  CComPtr<IDispatch> document;
  if (FAILED(m_pBrowserApp->get_Document(&document)) || document == nullptr) return;
  CComPtr<IHTMLDocument2> htmlDocument;
  if (FAILED(document.QueryInterface(&htmlDocument))) return;
  DisconnectDHtmlEvents();
  m_spHtmlDoc = htmlDocument;
  m_strCurrentUrl = url != nullptr ? url : WIDE("");
  ConnectDHtmlEvents(m_spHtmlDoc);
  if (m_bUseHtmlTitle) {
    CComBSTR title;
    if (SUCCEEDED(m_spHtmlDoc->get_title(&title)) && title.Length() > 0) SetWindowText(title);
  }
}

void CDHtmlDialog::OnDocumentComplete(LPDISPATCH, LPCWSTR) {}

void CDHtmlDialog::ConnectDHtmlEvents(IHTMLDocument2* document) {
  if (document == nullptr) return;
  if (documentSink_ == nullptr) documentSink_ = new DocumentEventSink(this);
  DWORD cookie = 0;
  if (FAILED(AtlAdvise(document, static_cast<IDispatch*>(documentSink_), DIID_HTMLDocumentEvents2, &cookie))) return;
  connectedDocument_ = document;
  documentCookie_ = cookie;
}

void CDHtmlDialog::DisconnectDHtmlEvents() {
  if (connectedDocument_ == nullptr) return;
  AtlUnadvise(connectedDocument_, DIID_HTMLDocumentEvents2, documentCookie_);
  connectedDocument_.Release();
  documentCookie_ = 0;
}

// ---- Elements -----------------------------------------------------------------------------

HRESULT CDHtmlDialog::GetDHtmlDocument(IHTMLDocument2** document) {
  if (document == nullptr) return E_POINTER;
  return m_spHtmlDoc.CopyTo(document);
}

HRESULT CDHtmlDialog::GetElement(LPCWSTR id, IHTMLElement** element) {
  if (element == nullptr) return E_POINTER;
  *element = nullptr;
  CComQIPtr<IHTMLDocument3> document(m_spHtmlDoc.p);
  if (document == nullptr) return E_NOINTERFACE;
  CComBSTR name(id != nullptr ? id : WIDE(""));
  const HRESULT hr = document->getElementById(name, element);
  if (FAILED(hr)) return hr;
  return *element != nullptr ? S_OK : E_NOINTERFACE;
}

// ---- The browser host's questions ---------------------------------------------------------

STDMETHODIMP CDHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

STDMETHODIMP CDHtmlDialog::GetHostInfo(DOCHOSTUIINFO* pInfo) {
  if (pInfo == nullptr) return E_POINTER;
  pInfo->dwFlags = m_dwHostFlags;
  return S_OK;
}

STDMETHODIMP CDHtmlDialog::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                  IOleInPlaceUIWindow*) {
  return S_FALSE;
}

STDMETHODIMP CDHtmlDialog::HideUI() { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::UpdateUI() { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CDHtmlDialog::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }

STDMETHODIMP CDHtmlDialog::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) {
  if (ppDropTarget != nullptr) *ppDropTarget = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CDHtmlDialog::GetExternal(IDispatch** ppDispatch) {
  if (ppDispatch == nullptr) return E_POINTER;
  *ppDispatch = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CDHtmlDialog::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) {
  if (ppchURLOut == nullptr) return E_POINTER;
  *ppchURLOut = nullptr;
  return S_FALSE;
}

STDMETHODIMP CDHtmlDialog::FilterDataObject(IDataObject*, IDataObject** ppDORet) {
  if (ppDORet == nullptr) return E_POINTER;
  *ppDORet = nullptr;
  return S_FALSE;
}

BOOL CDHtmlDialog::CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id, REFCLSID clsid) {
  if (site == nullptr) return FALSE;
  *site = nullptr;
  if (clsid != CLSID_WebBrowser) return FALSE;
  *site = new CBrowserControlSite(container, this);
  return TRUE;
}

BOOL CDHtmlDialog::PreTranslateMessage(MSG* msg) {
  // Tab that reaches the dialog itself goes on into the page, as dialog navigation onto the
  // browser control would take it there.
  if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && msg->hwnd == m_hWnd &&
      m_pCtrlCont != nullptr) {
    if (COleControlSite* site = m_pCtrlCont->FindItem(AFX_IDC_BROWSER)) {
      site->SetFocus(msg);
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}
