// The browser engine on WebKitGTK: one WebKitBrowserView per browser control. All views share
// one ephemeral web context, so that the launcher leaves no cache, cookies or local storage
// behind.
#pragma once

#include <memory>

#include "core/com/BrowserEngine.h"

typedef struct _WebKitWebContext WebKitWebContext;

namespace gtkui {

class WebKitCommandPrefixes;

class WebKitBrowserEngine : public core::BrowserEngine {
 public:
  // GTK must be initialised.
  WebKitBrowserEngine();
  ~WebKitBrowserEngine() override;

  std::unique_ptr<core::BrowserView> CreateView(HWND window, core::BrowserHost& host) override;
  // WebKit keeps a scheme registered as local for the context's life: a prefix dropped later
  // stays guarded, which only refuses more.
  void SetCommandPrefixes(const std::vector<std::u16string>& prefixes) override;

 private:
  WebKitWebContext* context_;
  // Shared with the views, which read it for each navigation.
  std::shared_ptr<WebKitCommandPrefixes> commands_;
};

}  // namespace gtkui
