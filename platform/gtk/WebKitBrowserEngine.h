// The browser engine on WebKitGTK: one WebKitBrowserView per browser control. All views share
// one ephemeral web context, so that the launcher leaves no cache, cookies or local storage
// behind.
//
// WebKit starts a view's web process only when the view first loads something, and that
// process takes longer to start than the launcher takes to build its dialogs. The engine
// therefore loads a blank page that nobody sees as soon as it is made: its process starts
// while the dialogs are built, and the first view is made related to that page, so that it
// finds the process ready. Later views get processes of their own, as WebKit gives them.
#pragma once

#include <memory>

#include "core/com/BrowserEngine.h"

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitWebView WebKitWebView;

namespace gtkui {

class WebKitCommandPrefixes;

class WebKitBrowserEngine : public core::BrowserEngine {
 public:
  // GTK must be initialised.
  WebKitBrowserEngine();
  ~WebKitBrowserEngine() override;
  WebKitBrowserEngine(const WebKitBrowserEngine&) = delete;
  WebKitBrowserEngine& operator=(const WebKitBrowserEngine&) = delete;

  std::unique_ptr<core::BrowserView> CreateView(HWND window, core::BrowserHost& host) override;
  // WebKit keeps a scheme registered as local for the context's life: a prefix dropped later
  // stays guarded, which only refuses more. WebKit hands the registration to the processes
  // already running (the blank page's) as well as to those it starts later.
  void SetCommandPrefixes(const std::vector<std::u16string>& prefixes) override;

 private:
  WebKitWebContext* context_;
  // Shared with the views, which read it for each navigation.
  std::shared_ptr<WebKitCommandPrefixes> commands_;
  // Whether the context's web processes load the module that runs the views' scripts; set
  // before the first process starts.
  const bool pageModule_;
  // The blank page whose process the first view takes; null once taken.
  WebKitWebView* warmUp_;
};

}  // namespace gtkui
