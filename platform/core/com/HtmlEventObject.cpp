#include "core/com/HtmlEventObject.h"

#include "BstrText.h"
#include "oleauto.h"

namespace core {

namespace {
HRESULT Answer(bool value, VARIANT_BOOL* p) {
  if (p == nullptr) return E_POINTER;
  *p = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}
}  // namespace

std::u16string DocumentEventType(DISPID event) {
  switch (event) {
    case DISPID_HTMLDOCUMENTEVENTS2_ONCLICK: return u"click";
    case DISPID_HTMLDOCUMENTEVENTS2_ONKEYDOWN: return u"keydown";
    case DISPID_HTMLDOCUMENTEVENTS2_ONKEYPRESS: return u"keypress";
    case DISPID_HTMLDOCUMENTEVENTS2_ONKEYUP: return u"keyup";
    case DISPID_HTMLDOCUMENTEVENTS2_ONCONTEXTMENU: return u"contextmenu";
    case DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEWHEEL: return u"mousewheel";
    default: return u"";
  }
}

HtmlEventObject::HtmlEventObject(std::u16string type, const BrowserEventState& state)
    : type_(std::move(type)), state_(state) {
  VariantInit(&returnValue_);
}

HtmlEventObject::~HtmlEventObject() { VariantClear(&returnValue_); }

void* HtmlEventObject::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLEventObj) return static_cast<IHTMLEventObj*>(this);
  return nullptr;
}

STDMETHODIMP HtmlEventObject::get_srcElement(IHTMLElement** p) {
  if (p == nullptr) return E_POINTER;
  *p = nullptr;  // the view does not say which element
  return S_OK;
}

STDMETHODIMP HtmlEventObject::get_altKey(VARIANT_BOOL* p) { return Answer(state_.altKey, p); }
STDMETHODIMP HtmlEventObject::get_ctrlKey(VARIANT_BOOL* p) { return Answer(state_.ctrlKey, p); }
STDMETHODIMP HtmlEventObject::get_shiftKey(VARIANT_BOOL* p) { return Answer(state_.shiftKey, p); }

STDMETHODIMP HtmlEventObject::put_returnValue(VARIANT v) { return VariantCopy(&returnValue_, &v); }

STDMETHODIMP HtmlEventObject::get_returnValue(VARIANT* p) {
  if (p == nullptr) return E_POINTER;
  VariantInit(p);
  return VariantCopy(p, &returnValue_);
}

STDMETHODIMP HtmlEventObject::put_cancelBubble(VARIANT_BOOL v) {
  cancelBubble_ = v != VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP HtmlEventObject::get_cancelBubble(VARIANT_BOOL* p) { return Answer(cancelBubble_, p); }

STDMETHODIMP HtmlEventObject::get_type(BSTR* p) {
  if (p == nullptr) return E_POINTER;
  *p = MakeBstr(type_);
  return *p != nullptr ? S_OK : E_OUTOFMEMORY;
}

std::optional<bool> HtmlEventObject::ReturnValue() const {
  if (returnValue_.vt == VT_EMPTY) return std::nullopt;
  if (returnValue_.vt == VT_BOOL) return returnValue_.boolVal != VARIANT_FALSE;
  return true;
}

}  // namespace core
