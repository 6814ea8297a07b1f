#include "core/com/HtmlStyleSheet.h"

#include "BstrText.h"

namespace core {

HtmlStyleSheet::HtmlStyleSheet(BrowserContextRef context, UINT_PTR sheet, std::u16string href)
    : context_(std::move(context)), sheet_(sheet), href_(std::move(href)) {}

void* HtmlStyleSheet::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLStyleSheet)
    return static_cast<IHTMLStyleSheet*>(this);
  return nullptr;
}

STDMETHODIMP HtmlStyleSheet::get_href(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = MakeBstr(href_);
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HtmlStyleSheet::addRule(BSTR bstrSelector, BSTR bstrStyle, LONG lIndex, LONG* plNewIndex) {
  if (plNewIndex != nullptr) *plNewIndex = -1;
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  LONG newIndex = -1;
  const HRESULT hr = view->AddRule(sheet_, TextOf(bstrSelector), TextOf(bstrStyle), lIndex, &newIndex);
  if (plNewIndex != nullptr && SUCCEEDED(hr)) *plNewIndex = newIndex;
  return hr;
}

}  // namespace core
