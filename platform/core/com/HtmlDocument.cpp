#include "core/com/HtmlDocument.h"

#include <algorithm>
#include <string>

#include "BstrText.h"
#include "core/com/HtmlElement.h"
#include "core/com/HtmlStyleSheet.h"
#include "core/com/HtmlWindow.h"
#include "VariantValues.h"
#include "mshtmcid.h"

namespace core {

namespace {

// A new object's one reference goes to the caller.
template <class Interface>
HRESULT HandOut(Interface* made, Interface** out) {
  *out = made;
  return S_OK;
}

}  // namespace

HtmlDocument::HtmlDocument(BrowserContextRef context, BrowserFrame frame) : context_(std::move(context)), frame_(frame) {
  events_.Attach(new ConnectionPoint(DIID_HTMLDocumentEvents2, static_cast<IConnectionPointContainer*>(this)));
}

HtmlDocument::~HtmlDocument() { events_->DisconnectAll(); }

void* HtmlDocument::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument || iid == IID_IHTMLDocument2)
    return static_cast<IHTMLDocument2*>(this);
  if (iid == IID_IHTMLDocument3) return static_cast<IHTMLDocument3*>(this);
  if (iid == IID_IOleCommandTarget) return static_cast<IOleCommandTarget*>(this);
  if (iid == IID_IPersistStreamInit || iid == IID_IPersist) return static_cast<IPersistStreamInit*>(this);
  if (iid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
  return nullptr;
}

std::shared_ptr<BrowserView> HtmlDocument::TopLevelView() const {
  return frame_ == 0 ? context_->view : nullptr;
}

// ---- IHTMLDocument2 -----------------------------------------------------------------------

STDMETHODIMP HtmlDocument::get_Script(IDispatch** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HtmlDocument::get_title(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  *p = MakeBstr(view->Title(frame_));
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HtmlDocument::get_URL(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  *p = MakeBstr(view->LocationUrl(frame_));
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HtmlDocument::queryCommandEnabled(BSTR cmdID, VARIANT_BOOL* pfRet) {
  if (pfRet == nullptr) return E_POINTER;
  *pfRet = VARIANT_FALSE;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  if (view == nullptr) return frame_ == 0 ? E_UNEXPECTED : E_NOTIMPL;
  bool enabled = false;
  const HRESULT hr = view->QueryCommandEnabled(TextOf(cmdID), &enabled);
  if (SUCCEEDED(hr)) *pfRet = enabled ? VARIANT_TRUE : VARIANT_FALSE;
  return hr;
}

STDMETHODIMP HtmlDocument::execCommand(BSTR cmdID, VARIANT_BOOL showUI, VARIANT, VARIANT_BOOL* pfRet) {
  if (pfRet != nullptr) *pfRet = VARIANT_FALSE;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  if (view == nullptr) return frame_ == 0 ? E_UNEXPECTED : E_NOTIMPL;
  bool done = false;
  const HRESULT hr = view->ExecCommand(TextOf(cmdID), showUI != VARIANT_FALSE, &done);
  if (pfRet != nullptr && SUCCEEDED(hr)) *pfRet = done ? VARIANT_TRUE : VARIANT_FALSE;
  return hr;
}

STDMETHODIMP HtmlDocument::get_parentWindow(IHTMLWindow2** p) {
  if (p == nullptr) return E_POINTER;
  return HandOut<IHTMLWindow2>(new HtmlWindow(context_, static_cast<IHTMLDocument2*>(this), frame_ == 0), p);
}

STDMETHODIMP HtmlDocument::createStyleSheet(BSTR bstrHref, LONG lIndex, IHTMLStyleSheet** ppnewStyleSheet) {
  if (ppnewStyleSheet == nullptr) return E_POINTER;
  *ppnewStyleSheet = nullptr;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  if (view == nullptr) return frame_ == 0 ? E_UNEXPECTED : E_NOTIMPL;
  UINT_PTR sheet = 0;
  const std::u16string href = TextOf(bstrHref);
  const HRESULT hr = view->CreateStyleSheet(href, lIndex, &sheet);
  if (FAILED(hr)) return hr;
  return HandOut<IHTMLStyleSheet>(new HtmlStyleSheet(context_, sheet, href), ppnewStyleSheet);
}

// ---- IHTMLDocument3 -----------------------------------------------------------------------

STDMETHODIMP HtmlDocument::getElementById(BSTR v, IHTMLElement** pel) {
  if (pel == nullptr) return E_POINTER;
  *pel = nullptr;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  if (view == nullptr) return frame_ == 0 ? E_UNEXPECTED : E_NOTIMPL;
  const std::u16string id = TextOf(v);
  if (!view->HasElement(id)) return S_OK;
  return HandOut<IHTMLElement>(new HtmlElement(context_, id), pel);
}

// ---- IOleCommandTarget --------------------------------------------------------------------

STDMETHODIMP HtmlDocument::QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT*) {
  if (prgCmds == nullptr) return E_POINTER;
  if (pguidCmdGroup == nullptr || (*pguidCmdGroup != CGID_MSHTML && *pguidCmdGroup != CGID_IWebBrowser))
    return OLECMDERR_E_UNKNOWNGROUP;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  for (ULONG i = 0; i < cCmds; ++i) {
    prgCmds[i].cmdf = 0;
    const char16_t* name = nullptr;
    if (*pguidCmdGroup == CGID_MSHTML) {
      switch (prgCmds[i].cmdID) {
        case IDM_COPY: name = u"Copy"; break;
        case IDM_CUT: name = u"Cut"; break;
        case IDM_PASTE: name = u"Paste"; break;
        case IDM_SELECTALL: name = u"SelectAll"; break;
        case IDM_FIND: prgCmds[i].cmdf = OLECMDF_SUPPORTED | (view != nullptr ? OLECMDF_ENABLED : 0); break;
        default: break;
      }
    } else if (prgCmds[i].cmdID == 1) {
      prgCmds[i].cmdf = OLECMDF_SUPPORTED | (view != nullptr ? OLECMDF_ENABLED : 0);
    }
    bool enabled = false;
    if (name != nullptr) {
      prgCmds[i].cmdf = OLECMDF_SUPPORTED;
      if (view != nullptr && SUCCEEDED(view->QueryCommandEnabled(name, &enabled)) && enabled)
        prgCmds[i].cmdf |= OLECMDF_ENABLED;
    }
  }
  return S_OK;
}

STDMETHODIMP HtmlDocument::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT*, VARIANT*) {
  if (pguidCmdGroup == nullptr) return OLECMDERR_E_NOTSUPPORTED;
  const std::shared_ptr<BrowserView> view = TopLevelView();
  if (*pguidCmdGroup == CGID_IWebBrowser) {
    if (nCmdID != 1) return OLECMDERR_E_NOTSUPPORTED;
    return view != nullptr ? view->ShowFind() : E_UNEXPECTED;
  }
  if (*pguidCmdGroup != CGID_MSHTML) return OLECMDERR_E_UNKNOWNGROUP;
  if (view == nullptr) return E_UNEXPECTED;
  switch (nCmdID) {
    case IDM_COPY:
    case IDM_CUT:
    case IDM_PASTE:
      return view->ExecEditCommand(nCmdID);
    case IDM_SELECTALL: {
      bool done = false;
      return view->ExecCommand(u"SelectAll", nCmdexecopt == OLECMDEXECOPT_PROMPTUSER, &done);
    }
    case IDM_FIND:
      return view->ShowFind();
    default:
      return OLECMDERR_E_NOTSUPPORTED;
  }
}

// ---- IPersistStreamInit -------------------------------------------------------------------

STDMETHODIMP HtmlDocument::GetClassID(CLSID* pClassID) {
  if (pClassID == nullptr) return E_POINTER;
  *pClassID = GUID_NULL;
  return E_NOTIMPL;
}

STDMETHODIMP HtmlDocument::IsDirty() { return S_FALSE; }

STDMETHODIMP HtmlDocument::Load(LPSTREAM pStm) {
  if (pStm == nullptr) return E_POINTER;
  if (frame_ != 0) return E_NOTIMPL;
  if (context_->view == nullptr) return E_UNEXPECTED;
  // The stream may be valid only during this call, so all of it is read now; a read that
  // gives nothing or fails ends it.
  std::string bytes;
  char piece[kReadPiece];
  HRESULT status = S_OK;
  for (;;) {
    ULONG read = 0;
    const HRESULT hr = pStm->Read(piece, kReadPiece, &read);
    if (FAILED(hr)) {
      status = hr;
      break;
    }
    if (read == 0) break;
    // A stream that claims more than it was asked for is held to the piece's size.
    bytes.append(piece, std::min(read, kReadPiece));
  }
  const std::shared_ptr<BrowserView> view = context_->view;  // the reads may have closed it
  if (view == nullptr) return E_UNEXPECTED;
  const HRESULT loaded = view->LoadHtml(bytes);
  return FAILED(status) ? status : loaded;
}

STDMETHODIMP HtmlDocument::Save(LPSTREAM, BOOL) { return E_NOTIMPL; }

STDMETHODIMP HtmlDocument::GetSizeMax(ULARGE_INTEGER* pCbSize) {
  if (pCbSize != nullptr) pCbSize->QuadPart = 0;
  return E_NOTIMPL;
}

// The document is made ready when its view is; there is nothing more to start.
STDMETHODIMP HtmlDocument::InitNew() { return S_OK; }

// ---- IConnectionPointContainer ------------------------------------------------------------

STDMETHODIMP HtmlDocument::EnumConnectionPoints(IEnumConnectionPoints** ppEnum) {
  if (ppEnum != nullptr) *ppEnum = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HtmlDocument::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) {
  if (ppCP == nullptr) return E_POINTER;
  *ppCP = nullptr;
  if (riid != DIID_HTMLDocumentEvents2) return CONNECT_E_NOCONNECTION;
  *ppCP = events_.p;
  (*ppCP)->AddRef();
  return S_OK;
}

void HtmlDocument::FireEvent(DISPID event, IHTMLEventObj* eventObject) {
  VARIANT argument = BorrowedDispatch(eventObject);
  DISPPARAMS params{&argument, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  events_->Fire(event, &params, &result);
  VariantClear(&result);
}

void HtmlDocument::Close() { events_->DisconnectAll(); }

}  // namespace core
