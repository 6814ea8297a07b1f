#include "core/com/HtmlWindow.h"

namespace core {

HtmlWindow::HtmlWindow(BrowserContextRef context, IHTMLDocument2* document, bool topLevel)
    : context_(std::move(context)), document_(document), topLevel_(topLevel) {}

void* HtmlWindow::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLWindow2) return static_cast<IHTMLWindow2*>(this);
  return nullptr;
}

STDMETHODIMP HtmlWindow::get_document(IHTMLDocument2** p) { return document_.CopyTo(p); }

STDMETHODIMP HtmlWindow::get_event(IHTMLEventObj** p) {
  if (p == nullptr) return E_POINTER;
  *p = topLevel_ ? context_->currentEvent : nullptr;
  if (*p != nullptr) (*p)->AddRef();
  return S_OK;
}

}  // namespace core
