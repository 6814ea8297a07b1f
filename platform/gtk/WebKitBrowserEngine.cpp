#include "gtk/WebKitBrowserEngine.h"

#include <webkit2/webkit2.h>

#include "gtk/WebKitBrowserView.h"

namespace gtkui {

WebKitBrowserEngine::WebKitBrowserEngine() : context_(webkit_web_context_new_ephemeral()) {}

WebKitBrowserEngine::~WebKitBrowserEngine() { g_object_unref(context_); }

std::unique_ptr<core::BrowserView> WebKitBrowserEngine::CreateView(HWND window, core::BrowserHost& host) {
  if (!IsWindow(window)) return nullptr;
  return std::make_unique<WebKitBrowserView>(window, host, context_);
}

}  // namespace gtkui
