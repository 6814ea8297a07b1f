#include "gtk/GtkMessageBox.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <string>

#include "gtk/TextConversion.h"
#include "gtk/WindowPresenter.h"

namespace gtkui {

namespace {

GtkMessageType MessageTypeOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR:
      return GTK_MESSAGE_ERROR;
    case MB_ICONWARNING:
      return GTK_MESSAGE_WARNING;
    case MB_ICONINFORMATION:
      return GTK_MESSAGE_INFO;
    default:
      return GTK_MESSAGE_OTHER;
  }
}

// The buttons of the box's kind, with the platform's answers as response ids.
void AddButtons(GtkDialog* dialog, UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      gtk_dialog_add_button(dialog, "_Cancel", IDCANCEL);
      gtk_dialog_add_button(dialog, "_OK", IDOK);
      gtk_dialog_set_default_response(dialog, IDOK);
      break;
    case MB_YESNO:
      gtk_dialog_add_button(dialog, "_No", IDNO);
      gtk_dialog_add_button(dialog, "_Yes", IDYES);
      gtk_dialog_set_default_response(dialog, IDYES);
      break;
    default:
      gtk_dialog_add_button(dialog, "_OK", IDOK);
      gtk_dialog_set_default_response(dialog, IDOK);
      break;
  }
}

// Closing the box without a button: Cancel where the box has one, No for a yes/no box (the
// platform's box has no close button then), OK otherwise.
int AnswerOfClose(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return IDCANCEL;
    case MB_YESNO:
      return IDNO;
    default:
      return IDOK;
  }
}

// GTK wraps a message at blanks only, so a long name without one (a path, an address) made
// the box wider than the screen. Breaking inside words where needed, at a bounded width,
// keeps every line on screen.
void WrapLongWords(GtkMessageDialog* dialog) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_message_dialog_get_message_area(dialog)));
  for (GList* child = children; child != nullptr; child = child->next) {
    if (!GTK_IS_LABEL(child->data)) continue;
    GtkLabel* label = GTK_LABEL(child->data);
    gtk_label_set_line_wrap(label, TRUE);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(label, 80);
  }
  g_list_free(children);
}

}  // namespace

GtkMessageBox::GtkMessageBox() : uiThread_(std::this_thread::get_id()) {}

int GtkMessageBox::ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type) {
  const std::string line = core::MessageBoxLine(text, caption);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
  if (std::this_thread::get_id() != uiThread_) return core::UnattendedMessageBoxAnswer(type);

  GtkWindow* parent = owner != nullptr ? WindowPresenter::Instance().GtkWindowOf(owner) : nullptr;
  GtkWidget* dialog = gtk_message_dialog_new(parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                             MessageTypeOf(type), GTK_BUTTONS_NONE, "%s", Utf8Of(text).c_str());
  WrapLongWords(GTK_MESSAGE_DIALOG(dialog));
  gtk_window_set_title(GTK_WINDOW(dialog), Utf8Of(caption).c_str());
  AddButtons(GTK_DIALOG(dialog), type);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response > 0 ? response : AnswerOfClose(type);
}

}  // namespace gtkui
