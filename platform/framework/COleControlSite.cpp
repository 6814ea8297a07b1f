// A control's site: the control's window and object, the site's one COM identity, and the
// sink that hands the control's events to the container window's event sink map.
#include "afxocc.h"

#include <exception>
#include <string>

#include "afxdisp.h"
#include "atlbase.h"
#include "core/com/BrowserControl.h"
#include "ComObject.h"
#include <windows.h>
#include <exdisp.h>

// The IUnknown the control holds as its site: every call goes to the site's own.
class COleControlSite::Identity final : public IUnknown {
 public:
  explicit Identity(COleControlSite& site) : site_(site) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.ExternalQueryInterface(&iid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return site_.ExternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return site_.ExternalRelease(); }

 private:
  COleControlSite& site_;
};

// The control's events: each goes to the container window's OnEvent with the control's
// identifier. An exception of a handler stops at this boundary (the control's caller may be
// the engine's C code) and becomes DISP_E_EXCEPTION.
class COleControlSite::EventSink final : public core::DispatchWithoutTypes<IDispatch> {
 public:
  explicit EventSink(COleControlSite& site) : site_(site) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return site_.ExternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return site_.ExternalRelease(); }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO* excepInfo,
                      UINT* argError) override {
    COleControlContainer* container = site_.m_pCtrlCont;
    if (container == nullptr || container->m_pWnd == nullptr) return S_OK;
    AFX_EVENT event(AFX_EVENT::event, dispid, params, excepInfo, argError);
    try {
      container->m_pWnd->OnEvent(site_.m_nID, &event, nullptr);
    } catch (const std::exception& failure) {
      return Excepted(excepInfo, failure.what());
    } catch (CException* failure) {
      failure->Delete();
      return Excepted(excepInfo, "");
    } catch (...) {
      return Excepted(excepInfo, "");
    }
    return event.m_hResult;
  }

 private:
  static HRESULT Excepted(EXCEPINFO* excepInfo, const char* what) {
    if (excepInfo != nullptr) {
      *excepInfo = EXCEPINFO{};
      excepInfo->scode = E_FAIL;
      // Without MB_ERR_INVALID_CHARS an ill-formed byte becomes U+FFFD instead of failing.
      const int length = ::MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
      if (length > 1) {
        excepInfo->bstrDescription = ::SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
        if (excepInfo->bstrDescription != nullptr)
          ::MultiByteToWideChar(CP_UTF8, 0, what, -1, excepInfo->bstrDescription, length);
      }
    }
    return DISP_E_EXCEPTION;
  }

  COleControlSite& site_;
};

COleControlSite::COleControlSite(COleControlContainer* container)
    : m_hWnd(nullptr),
      m_nID(0),
      m_pWndCtrl(nullptr),
      m_pObject(nullptr),
      m_pCtrlCont(container),
      m_dwRef(0),
      identity_(new Identity(*this)),
      eventSink_(new EventSink(*this)),
      eventCookie_(0) {}

COleControlSite::~COleControlSite() {
  if (m_pObject != nullptr) {
    if (eventCookie_ != 0) AtlUnadvise(m_pObject, DIID_DWebBrowserEvents2, eventCookie_);
    if (core::BrowserControl* control = core::BrowserControl::Of(m_pObject)) control->DetachSite();
    m_pObject->Release();
    m_pObject = nullptr;
  }
  if (m_pWndCtrl != nullptr && m_pWndCtrl->m_pCtrlSite == this) m_pWndCtrl->m_pCtrlSite = nullptr;
  delete eventSink_;
  delete identity_;
}

HRESULT COleControlSite::CreateControl(CWnd* wndCtrl, REFCLSID clsid, LPCWSTR windowName, DWORD style,
                                       const RECT* rect, UINT id) {
  if (m_pObject != nullptr) return E_UNEXPECTED;
  // The browser is the one control the platform here knows how to make.
  if (clsid != CLSID_WebBrowser) return REGDB_E_CLASSNOTREG;
  const HWND parent = m_pCtrlCont != nullptr ? AfxGetSafeHwnd(m_pCtrlCont->m_pWnd) : nullptr;
  const RECT area = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
  core::BrowserControl* control = nullptr;
  const HRESULT hr = core::BrowserControl::Create(identity_, parent, area, style, id, windowName, &control);
  if (FAILED(hr)) return hr;
  m_pObject = static_cast<IWebBrowser2*>(control);
  m_hWnd = control->Window();
  m_nID = id;
  AtlAdvise(m_pObject, eventSink_, DIID_DWebBrowserEvents2, &eventCookie_);
  if (wndCtrl != nullptr && wndCtrl->SubclassWindow(m_hWnd)) {
    wndCtrl->m_pCtrlSite = this;
    m_pWndCtrl = wndCtrl;
  }
  return S_OK;
}

CWnd* COleControlSite::SetFocus(LPMSG) {
  const HWND previous = ::GetFocus();
  // The control's window hands the focus on to the view inside it.
  if (m_hWnd != nullptr) ::SetFocus(m_hWnd);
  return CWnd::FromHandle(previous);
}

LPUNKNOWN COleControlSite::GetInterfaceHook(const void*) { return nullptr; }

LPUNKNOWN COleControlSite::GetOwnInterface(const IID& iid) {
  if (iid == IID_IUnknown) return identity_;
  return nullptr;
}

LPUNKNOWN COleControlSite::GetInterface(const void* iid) {
  if (iid == nullptr) return nullptr;
  if (LPUNKNOWN hooked = GetInterfaceHook(iid)) return hooked;
  return GetOwnInterface(*static_cast<const IID*>(iid));
}

HRESULT COleControlSite::ExternalQueryInterface(const void* iid, LPVOID* object) {
  if (object == nullptr) return E_POINTER;
  LPUNKNOWN found = GetInterface(iid);
  *object = found;
  if (found == nullptr) return E_NOINTERFACE;
  ExternalAddRef();
  return S_OK;
}

ULONG COleControlSite::ExternalAddRef() { return ++m_dwRef; }

ULONG COleControlSite::ExternalRelease() {
  // The count only tells; the container ends the site.
  if (m_dwRef > 0) --m_dwRef;
  return m_dwRef;
}
