#include "gtk/WebKitBrowserEngine.h"

#include <webkit2/webkit2.h>

#include <utility>

#include "gtk/WebKitBrowserView.h"
#include "gtk/WebKitCommandPrefixes.h"
#include "gtk/WebProcessModule.h"

namespace gtkui {

namespace {

// A page that runs nothing: no script, no plug-in, nothing a later page of the process could
// find of it.
WebKitWebView* StartWarmUpPage(WebKitWebContext* context) {
  WebKitSettings* settings = webkit_settings_new();
  webkit_settings_set_enable_javascript(settings, FALSE);
  auto* page = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr));
  g_object_unref(settings);
  g_object_ref_sink(page);
  webkit_web_view_load_uri(page, "about:blank");
  return page;
}

}  // namespace

WebKitBrowserEngine::WebKitBrowserEngine()
    : context_(webkit_web_context_new_ephemeral()),
      commands_(std::make_shared<WebKitCommandPrefixes>()),
      pageModule_(PrepareWebProcessModule(context_, WebKitBrowserView::kScriptWorld)),
      warmUp_(StartWarmUpPage(context_)) {}

WebKitBrowserEngine::~WebKitBrowserEngine() {
  if (warmUp_ != nullptr) g_object_unref(warmUp_);
  g_object_unref(context_);
}

// The blank page goes once the view has its process; the process stays for the view.
std::unique_ptr<core::BrowserView> WebKitBrowserEngine::CreateView(HWND window, core::BrowserHost& host) {
  if (!IsWindow(window)) return nullptr;
  WebKitWebView* warmUp = std::exchange(warmUp_, nullptr);
  auto view = std::make_unique<WebKitBrowserView>(window, host, context_, warmUp, commands_, pageModule_);
  if (warmUp != nullptr) g_object_unref(warmUp);
  return view;
}

void WebKitBrowserEngine::SetCommandPrefixes(const std::vector<std::u16string>& prefixes) {
  commands_->Set(prefixes);
  commands_->Register(webkit_web_context_get_security_manager(context_));
}

}  // namespace gtkui
