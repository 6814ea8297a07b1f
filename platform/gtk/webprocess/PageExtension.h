// The browser views' helper inside WebKit's web process. It runs the views' scripts in their
// script world and answers with plain values (GVariants), and tells each view whether its
// page's selection holds anything, so that the views' own process never reads a script value.
#pragma once

#include <webkit2/webkit-web-extension.h>

namespace gtkui::webprocess {

class PageExtension {
 public:
  // worldName: the views' script world; an unnamed world of its own without one.
  explicit PageExtension(const char* worldName);
  PageExtension(const PageExtension&) = delete;
  PageExtension& operator=(const PageExtension&) = delete;

  // Serves every page that the web process makes from now on.
  void Serve(WebKitWebExtension* extension);

 private:
  static void OnPageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer self);
  static gboolean OnMessage(WebKitWebPage* page, WebKitUserMessage* message, gpointer self);
  static void OnDocumentLoaded(WebKitWebPage* page, gpointer self);

  // The value of the script in the world of the page's top-level document: floating, null
  // when the script threw.
  GVariant* Evaluate(WebKitWebPage* page, const char* script) const;
  void WatchSelection(WebKitWebPage* page) const;

  WebKitScriptWorld* world_;
};

}  // namespace gtkui::webprocess
