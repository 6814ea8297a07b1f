// The view's find bar: a search entry over the top-right corner of the page that drives
// WebKit's find controller. Typing searches (without regard to case, wrapping around), Enter
// and Shift+Enter go to the next and previous match, Escape or the close button end the
// search and give the focus back to the page.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace gtkui {

class FindBar {
 public:
  // Adds itself to overlay, hidden, for the page in view.
  FindBar(GtkOverlay* overlay, WebKitWebView* view);
  ~FindBar();
  FindBar(const FindBar&) = delete;
  FindBar& operator=(const FindBar&) = delete;

  void Show();
  void Hide();
  bool Visible() const;

 private:
  static void OnSearchChanged(GtkSearchEntry* entry, gpointer self);
  static void OnNext(GtkWidget* widget, gpointer self);
  static void OnPrevious(GtkWidget* widget, gpointer self);
  static void OnStop(GtkWidget* widget, gpointer self);
  static void OnFailed(WebKitFindController* controller, gpointer self);
  static void OnFound(WebKitFindController* controller, guint count, gpointer self);

  WebKitWebView* view_;
  WebKitFindController* controller_;
  GtkWidget* bar_;
  GtkWidget* entry_;
};

}  // namespace gtkui
