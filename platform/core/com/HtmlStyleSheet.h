// A style sheet of the top-level document; its rules go to the view.
#pragma once

#include <string>

#include "core/com/BrowserContext.h"
#include "ComObject.h"

namespace core {

class HtmlStyleSheet : public ComObject<DispatchWithoutTypes<IHTMLStyleSheet>> {
 public:
  HtmlStyleSheet(BrowserContextRef context, UINT_PTR sheet, std::u16string href);

  STDMETHODIMP get_href(BSTR* p) override;
  STDMETHODIMP addRule(BSTR bstrSelector, BSTR bstrStyle, LONG lIndex, LONG* plNewIndex) override;

 private:
  void* FindInterface(REFIID iid) override;

  BrowserContextRef context_;
  UINT_PTR sheet_;
  std::u16string href_;
};

}  // namespace core
