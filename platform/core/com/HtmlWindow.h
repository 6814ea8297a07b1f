// The window of a document: its way back to the document and to the event being delivered.
#pragma once

#include "atlbase.h"
#include "core/com/BrowserContext.h"
#include "ComObject.h"

namespace core {

class HtmlWindow : public ComObject<DispatchWithoutTypes<IHTMLWindow2>> {
 public:
  // topLevel: the window of the top-level document, the only one whose events are delivered.
  HtmlWindow(BrowserContextRef context, IHTMLDocument2* document, bool topLevel);

  STDMETHODIMP get_document(IHTMLDocument2** p) override;
  STDMETHODIMP get_event(IHTMLEventObj** p) override;

 private:
  void* FindInterface(REFIID iid) override;

  BrowserContextRef context_;
  CComPtr<IHTMLDocument2> document_;
  bool topLevel_;
};

}  // namespace core
