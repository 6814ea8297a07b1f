#include "gtk/FindBar.h"

#include <cstring>

namespace gtkui {

namespace {

constexpr guint32 kFindOptions = WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND;

}  // namespace

FindBar::FindBar(GtkOverlay* overlay, WebKitWebView* view)
    : view_(view), controller_(webkit_web_view_get_find_controller(view)), bar_(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2)),
      entry_(gtk_search_entry_new()) {
  GtkWidget* close = gtk_button_new_from_icon_name("window-close-symbolic", GTK_ICON_SIZE_MENU);
  gtk_widget_set_tooltip_text(close, "Close");
  gtk_style_context_add_class(gtk_widget_get_style_context(bar_), "background");
  gtk_widget_set_halign(bar_, GTK_ALIGN_END);
  gtk_widget_set_valign(bar_, GTK_ALIGN_START);
  gtk_widget_set_margin_top(bar_, 4);
  gtk_widget_set_margin_end(bar_, 16);
  gtk_entry_set_placeholder_text(GTK_ENTRY(entry_), "Find in page");
  gtk_box_pack_start(GTK_BOX(bar_), entry_, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(bar_), close, FALSE, FALSE, 0);
  gtk_widget_show(entry_);
  gtk_widget_show(close);
  gtk_widget_set_no_show_all(bar_, TRUE);
  gtk_overlay_add_overlay(overlay, bar_);
  g_signal_connect(entry_, "search-changed", G_CALLBACK(&FindBar::OnSearchChanged), this);
  g_signal_connect(entry_, "activate", G_CALLBACK(&FindBar::OnNext), this);
  g_signal_connect(entry_, "next-match", G_CALLBACK(&FindBar::OnNext), this);
  g_signal_connect(entry_, "previous-match", G_CALLBACK(&FindBar::OnPrevious), this);
  g_signal_connect(entry_, "stop-search", G_CALLBACK(&FindBar::OnStop), this);
  g_signal_connect(close, "clicked", G_CALLBACK(&FindBar::OnStop), this);
  g_signal_connect(controller_, "failed-to-find-text", G_CALLBACK(&FindBar::OnFailed), this);
  g_signal_connect(controller_, "found-text", G_CALLBACK(&FindBar::OnFound), this);
}

FindBar::~FindBar() {
  g_signal_handlers_disconnect_by_data(controller_, this);
  GList* children = gtk_container_get_children(GTK_CONTAINER(bar_));
  for (GList* child = children; child != nullptr; child = child->next)
    g_signal_handlers_disconnect_by_data(child->data, this);
  g_list_free(children);
}

void FindBar::Show() {
  gtk_widget_show(bar_);
  gtk_widget_grab_focus(entry_);
  gtk_editable_select_region(GTK_EDITABLE(entry_), 0, -1);
}

void FindBar::Hide() {
  webkit_find_controller_search_finish(controller_);
  gtk_widget_hide(bar_);
  gtk_widget_grab_focus(GTK_WIDGET(view_));
}

bool FindBar::Visible() const { return gtk_widget_get_visible(bar_); }

void FindBar::OnSearchChanged(GtkSearchEntry* entry, gpointer self) {
  auto* bar = static_cast<FindBar*>(self);
  const char* text = gtk_entry_get_text(GTK_ENTRY(entry));
  gtk_style_context_remove_class(gtk_widget_get_style_context(bar->entry_), "error");
  if (text == nullptr || *text == '\0')
    webkit_find_controller_search_finish(bar->controller_);
  else
    webkit_find_controller_search(bar->controller_, text, kFindOptions, G_MAXUINT);
}

void FindBar::OnNext(GtkWidget*, gpointer self) { webkit_find_controller_search_next(static_cast<FindBar*>(self)->controller_); }

void FindBar::OnPrevious(GtkWidget*, gpointer self) {
  webkit_find_controller_search_previous(static_cast<FindBar*>(self)->controller_);
}

void FindBar::OnStop(GtkWidget*, gpointer self) { static_cast<FindBar*>(self)->Hide(); }

// The entry turns red while its text is not on the page.
void FindBar::OnFailed(WebKitFindController*, gpointer self) {
  gtk_style_context_add_class(gtk_widget_get_style_context(static_cast<FindBar*>(self)->entry_), "error");
}

void FindBar::OnFound(WebKitFindController*, guint, gpointer self) {
  gtk_style_context_remove_class(gtk_widget_get_style_context(static_cast<FindBar*>(self)->entry_), "error");
}

}  // namespace gtkui
