#include "core/com/HtmlElement.h"

#include "BstrText.h"

namespace core {

HtmlElement::HtmlElement(BrowserContextRef context, std::u16string id) : context_(std::move(context)), id_(std::move(id)) {}

void* HtmlElement::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLElement) return static_cast<IHTMLElement*>(this);
  return nullptr;
}

STDMETHODIMP HtmlElement::get_id(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = MakeBstr(id_);
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP HtmlElement::put_innerHTML(BSTR v) {
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  return view->SetElementHtml(id_, TextOf(v));
}

STDMETHODIMP HtmlElement::get_innerHTML(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;
  const std::shared_ptr<BrowserView> view = context_->view;
  if (view == nullptr) return E_UNEXPECTED;
  std::u16string html;
  const HRESULT hr = view->GetElementHtml(id_, &html);
  if (FAILED(hr)) return hr;
  *p = MakeBstr(html);
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace core
