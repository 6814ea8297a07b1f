#include "gtk/WebKitBrowserEngine.h"

#include <webkit2/webkit2.h>

#include "gtk/WebKitBrowserView.h"
#include "gtk/WebKitCommandPrefixes.h"

namespace gtkui {

WebKitBrowserEngine::WebKitBrowserEngine()
    : context_(webkit_web_context_new_ephemeral()), commands_(std::make_shared<WebKitCommandPrefixes>()) {}

WebKitBrowserEngine::~WebKitBrowserEngine() { g_object_unref(context_); }

std::unique_ptr<core::BrowserView> WebKitBrowserEngine::CreateView(HWND window, core::BrowserHost& host) {
  if (!IsWindow(window)) return nullptr;
  return std::make_unique<WebKitBrowserView>(window, host, context_, commands_);
}

void WebKitBrowserEngine::SetCommandPrefixes(const std::vector<std::u16string>& prefixes) {
  commands_->Set(prefixes);
  commands_->Register(webkit_web_context_get_security_manager(context_));
}

}  // namespace gtkui
