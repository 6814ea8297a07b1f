// The browser engine on WebKitGTK: one WebKitBrowserView per browser control. All views share
// one ephemeral web context, so that the launcher leaves no cache, cookies or local storage
// behind.
#pragma once

#include <memory>

#include "core/com/BrowserEngine.h"

typedef struct _WebKitWebContext WebKitWebContext;

namespace gtkui {

class WebKitBrowserEngine : public core::BrowserEngine {
 public:
  // GTK must be initialised.
  WebKitBrowserEngine();
  ~WebKitBrowserEngine() override;

  std::unique_ptr<core::BrowserView> CreateView(HWND window, core::BrowserHost& host) override;

 private:
  WebKitWebContext* context_;
};

}  // namespace gtkui
