// What a browser control shares with the objects it hands out (documents, windows, elements,
// style sheets, frame browsers): those may outlive the control and its view, and then answer
// E_UNEXPECTED instead of reaching what is gone.
#pragma once

#include <memory>

#include "core/com/BrowserEngine.h"
#include "mshtml.h"

namespace core {

class BrowserControl;

struct BrowserContext {
  // Null once the view is closed. Each call into the view holds a copy, so that a view whose
  // window goes during the call lives until the call has returned.
  std::shared_ptr<BrowserView> view;
  BrowserControl* control = nullptr;  // null once the control is gone
  IHTMLEventObj* currentEvent = nullptr;  // the document event being delivered, if any
  // The browser properties, which every frame browser of the control sets.
  bool silent = false;
  bool acceptsDrops = true;
};

using BrowserContextRef = std::shared_ptr<BrowserContext>;

}  // namespace core
