// The document event being delivered (window.event): its keys, and the return value the host
// sets to cancel the event's default action.
#pragma once

#include <optional>
#include <string>

#include "core/com/BrowserEngine.h"
#include "ComObject.h"
#include "mshtml.h"

namespace core {

class HtmlEventObject : public ComObject<DispatchWithoutTypes<IHTMLEventObj>> {
 public:
  HtmlEventObject(std::u16string type, const BrowserEventState& state);

  STDMETHODIMP get_srcElement(IHTMLElement** p) override;
  STDMETHODIMP get_altKey(VARIANT_BOOL* p) override;
  STDMETHODIMP get_ctrlKey(VARIANT_BOOL* p) override;
  STDMETHODIMP get_shiftKey(VARIANT_BOOL* p) override;
  STDMETHODIMP put_returnValue(VARIANT v) override;
  STDMETHODIMP get_returnValue(VARIANT* p) override;
  STDMETHODIMP put_cancelBubble(VARIANT_BOOL v) override;
  STDMETHODIMP get_cancelBubble(VARIANT_BOOL* p) override;
  STDMETHODIMP get_type(BSTR* p) override;

  // The return value as a flag: absent until set; a VT_BOOL gives its value, any other
  // kind counts as true (the default action goes ahead).
  std::optional<bool> ReturnValue() const;

 private:
  ~HtmlEventObject() override;
  void* FindInterface(REFIID iid) override;

  std::u16string type_;
  BrowserEventState state_;
  VARIANT returnValue_;
  bool cancelBubble_ = false;
};

// The event type's name for a document event ("mousewheel" ...), "" when unknown.
std::u16string DocumentEventType(DISPID event);

}  // namespace core
