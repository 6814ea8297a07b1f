#include "core/com/FrameBrowser.h"

#include "core/com/BrowserControl.h"
#include "BstrText.h"

namespace core {

namespace {

DWORD NumberOf(const VARIANT* v) {
  v = Dereferenced(v);
  if (v == nullptr) return 0;
  switch (v->vt) {
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT: return v->ulVal;
    case VT_I2:
    case VT_UI2: return static_cast<DWORD>(static_cast<USHORT>(v->iVal));
    case VT_BYREF | VT_I4:
    case VT_BYREF | VT_UI4: return v->plVal != nullptr ? static_cast<DWORD>(*v->plVal) : 0;
    default: return 0;
  }
}

std::string BytesOf(const VARIANT* v) {
  v = Dereferenced(v);
  if (v == nullptr) return std::string();
  SAFEARRAY* array = nullptr;
  if (v->vt == (VT_ARRAY | VT_UI1)) array = v->parray;
  if (v->vt == (VT_BYREF | VT_ARRAY | VT_UI1) && v->pparray != nullptr) array = *v->pparray;
  if (array == nullptr || array->cbElements != 1) return std::string();
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return std::string();
  std::string bytes(static_cast<const char*>(data), array->rgsabound[0].cElements);
  SafeArrayUnaccessData(array);
  return bytes;
}

}  // namespace

BrowserNavigation NavigationOf(std::u16string url, const VARIANT* flags, const VARIANT* targetFrameName,
                               const VARIANT* postData, const VARIANT* headers, BrowserFrame frame) {
  BrowserNavigation navigation;
  navigation.url = std::move(url);
  navigation.flags = NumberOf(flags);
  navigation.targetFrame = TextOf(targetFrameName);
  if ((navigation.flags & navOpenInNewWindow) && navigation.targetFrame.empty()) navigation.targetFrame = u"_blank";
  navigation.headers = TextOf(headers);
  navigation.postData = BytesOf(postData);
  navigation.frame = frame;
  navigation.userInitiated = false;
  return navigation;
}

FrameBrowser::FrameBrowser(BrowserContextRef context, BrowserFrame frame) : context_(std::move(context)), frame_(frame) {}

void* FrameBrowser::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowser2)
    return static_cast<IWebBrowser2*>(this);
  return nullptr;
}

STDMETHODIMP FrameBrowser::Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                                    VARIANT* Headers) {
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  return view->Navigate(NavigationOf(TextOf(URL), Flags, TargetFrameName, PostData, Headers, frame_));
}

STDMETHODIMP FrameBrowser::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                                     VARIANT* Headers) {
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  return view->Navigate(NavigationOf(TextOf(URL), Flags, TargetFrameName, PostData, Headers, frame_));
}

STDMETHODIMP FrameBrowser::Refresh() {
  const std::shared_ptr<BrowserView> view = context_->view;
  return view != nullptr ? view->Reload() : E_UNEXPECTED;
}

STDMETHODIMP FrameBrowser::get_Document(IDispatch** ppDisp) {
  if (ppDisp == nullptr) return E_POINTER;
  *ppDisp = nullptr;
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr || context_->control == nullptr || !view->HasDocument() || frame_ == kUnknownFrame) return S_OK;
  IHTMLDocument2* document = context_->control->DocumentOf(frame_);
  document->AddRef();
  *ppDisp = document;
  return S_OK;
}

STDMETHODIMP FrameBrowser::get_LocationName(BSTR* LocationName) {
  if (LocationName == nullptr) return E_POINTER;
  const std::shared_ptr<BrowserView> view = context_->view;
  *LocationName = MakeBstr(view != nullptr ? view->Title(frame_) : std::u16string());
  return *LocationName != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP FrameBrowser::get_LocationURL(BSTR* LocationURL) {
  if (LocationURL == nullptr) return E_POINTER;
  *LocationURL = nullptr;
  if (frame_ == kUnknownFrame) return E_FAIL;
  const std::shared_ptr<BrowserView> view = context_->view;
  *LocationURL = MakeBstr(view != nullptr ? view->LocationUrl(frame_) : std::u16string());
  return *LocationURL != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP FrameBrowser::get_Silent(VARIANT_BOOL* pbSilent) {
  if (pbSilent == nullptr) return E_POINTER;
  *pbSilent = context_->silent ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP FrameBrowser::put_Silent(VARIANT_BOOL bSilent) {
  context_->silent = bSilent != VARIANT_FALSE;
  if (const std::shared_ptr<BrowserView> view = context_->view) view->SetSilent(context_->silent);
  return S_OK;
}

STDMETHODIMP FrameBrowser::get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) {
  if (pbRegister == nullptr) return E_POINTER;
  *pbRegister = context_->acceptsDrops ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP FrameBrowser::put_RegisterAsDropTarget(VARIANT_BOOL bRegister) {
  context_->acceptsDrops = bRegister != VARIANT_FALSE;
  if (const std::shared_ptr<BrowserView> view = context_->view) view->SetDropTarget(context_->acceptsDrops);
  return S_OK;
}

}  // namespace core
