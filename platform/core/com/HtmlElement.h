// An element of the top-level document, known by its id; its content lives in the view.
#pragma once

#include <string>

#include "core/com/BrowserContext.h"
#include "ComObject.h"

namespace core {

class HtmlElement : public ComObject<DispatchWithoutTypes<IHTMLElement>> {
 public:
  HtmlElement(BrowserContextRef context, std::u16string id);

  STDMETHODIMP get_id(BSTR* p) override;
  STDMETHODIMP put_innerHTML(BSTR v) override;
  STDMETHODIMP get_innerHTML(BSTR* p) override;

 private:
  void* FindInterface(REFIID iid) override;

  BrowserContextRef context_;
  std::u16string id_;
};

}  // namespace core
