// A control's site: the control's window and object, the site's one COM identity, and the
// sink that hands the control's events to the container window's event sink map.
#include "afxocc.h"

#include <exception>
#include <string>

#include <windows.h>
#include <exdisp.h>
#include <objbase.h>

#include "afxdisp.h"
#include "atlbase.h"
#include "ComObject.h"

namespace {

// One of the site's interfaces: its IUnknown is the site's own, one identity and one count.
template <class Interface>
class OfTheSite : public Interface {
 public:
  explicit OfTheSite(COleControlSite& site) : site_(site) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return site_.ExternalQueryInterface(&iid, object); }
  STDMETHODIMP_(ULONG) AddRef() override { return site_.ExternalAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return site_.ExternalRelease(); }

 protected:
  COleControlSite& site_;
};

}  // namespace

// The IUnknown the control holds as its site.
class COleControlSite::Identity final : public OfTheSite<IUnknown> {
 public:
  using OfTheSite::OfTheSite;
};

// What the control asks of its container: nothing is saved or named, and the control may
// always activate in place, in the container's window at the site's place.
class COleControlSite::ClientSite final : public OfTheSite<IOleClientSite> {
 public:
  using OfTheSite::OfTheSite;
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker != nullptr) *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    if (container != nullptr) *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

class COleControlSite::InPlaceSite final : public OfTheSite<IOleInPlaceSite> {
 public:
  using OfTheSite::OfTheSite;
  STDMETHODIMP GetWindow(HWND* window) override {
    if (window == nullptr) return E_POINTER;
    *window = ContainerWindow();
    return *window != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  // A dialog has no frame of its own with tools or menus to share: no frame and no document
  // window are given.
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT place,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override {
    if (frame != nullptr) *frame = nullptr;
    if (document != nullptr) *document = nullptr;
    if (place == nullptr || clip == nullptr) return E_POINTER;
    *place = site_.place_;
    *clip = site_.place_;
    if (frameInfo != nullptr) {
      frameInfo->fMDIApp = FALSE;
      frameInfo->hwndFrame = ContainerWindow();
      frameInfo->haccel = nullptr;
      frameInfo->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return S_FALSE; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT place) override {
    if (place == nullptr) return E_POINTER;
    site_.MoveWindow(place->left, place->top, place->right - place->left, place->bottom - place->top);
    return S_OK;
  }

 private:
  HWND ContainerWindow() const {
    return site_.m_pCtrlCont != nullptr ? AfxGetSafeHwnd(site_.m_pCtrlCont->m_pWnd) : nullptr;
  }
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
      clientSite_(new ClientSite(*this)),
      inPlaceSite_(new InPlaceSite(*this)),
      eventSink_(new EventSink(*this)),
      eventCookie_(0),
      place_{0, 0, 0, 0} {}

COleControlSite::~COleControlSite() {
  if (m_pObject != nullptr) {
    if (eventCookie_ != 0) AtlUnadvise(m_pObject, DIID_DWebBrowserEvents2, eventCookie_);
    // The control's windows go (unless they went with the container's), then it lets go of
    // the site.
    CComQIPtr<IOleObject> object(m_pObject);
    if (object != nullptr) {
      object->Close(OLECLOSE_NOSAVE);
      object->SetClientSite(nullptr);
    }
    m_pObject->Release();
    m_pObject = nullptr;
  }
  if (m_pWndCtrl != nullptr && m_pWndCtrl->m_pCtrlSite == this) m_pWndCtrl->m_pCtrlSite = nullptr;
  delete eventSink_;
  delete inPlaceSite_;
  delete clientSite_;
  delete identity_;
}

HRESULT COleControlSite::CreateControl(CWnd* wndCtrl, REFCLSID clsid, LPCWSTR windowName, DWORD style,
                                       const RECT* rect, UINT id) {
  if (m_pObject != nullptr) return E_UNEXPECTED;
  CComPtr<IOleObject> object;
  HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object));
  if (FAILED(hr)) return hr;
  place_ = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
  const HWND parent = m_pCtrlCont != nullptr ? AfxGetSafeHwnd(m_pCtrlCont->m_pWnd) : nullptr;
  hr = object->SetClientSite(clientSite_);
  if (SUCCEEDED(hr)) hr = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite_, 0, parent, &place_);
  CComQIPtr<IOleInPlaceObject> inPlace(object.p);
  HWND window = nullptr;
  if (SUCCEEDED(hr)) hr = inPlace != nullptr ? inPlace->GetWindow(&window) : E_NOINTERFACE;
  if (FAILED(hr)) {
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    return hr;
  }
  // The control makes its window as it likes; the container's identifier, text and style
  // are given to it afterwards, as a dialog item's are.
  ::SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(id));
  if (windowName != nullptr) ::SetWindowTextW(window, windowName);
  const DWORD current = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
  const DWORD wanted = current | (style & ~WS_VISIBLE);
  if (wanted != current) ::SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(wanted));
  if ((style & WS_VISIBLE) == 0) ::ShowWindow(window, SW_HIDE);
  m_pObject = object.Detach();
  m_hWnd = window;
  m_nID = id;
  AtlAdvise(m_pObject, eventSink_, DIID_DWebBrowserEvents2, &eventCookie_);
  if (wndCtrl != nullptr && wndCtrl->SubclassWindow(m_hWnd)) {
    wndCtrl->m_pCtrlSite = this;
    m_pWndCtrl = wndCtrl;
  }
  return S_OK;
}

void COleControlSite::MoveWindow(int x, int y, int width, int height) {
  place_ = RECT{x, y, x + width, y + height};
  CComQIPtr<IOleInPlaceObject> inPlace(m_pObject);
  if (inPlace != nullptr) inPlace->SetObjectRects(&place_, &place_);
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
  if (iid == IID_IOleClientSite) return clientSite_;
  if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow) return inPlaceSite_;
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
