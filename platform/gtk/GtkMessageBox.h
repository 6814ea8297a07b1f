// MessageBoxW as a GTK message dialog. The same one line that the headless box writes goes
// to standard error as well, for whoever started the launcher from a terminal.
#pragma once

#include <thread>

#include "core/user/MessageBoxPresenter.h"

namespace gtkui {

class GtkMessageBox : public core::MessageBoxPresenter {
 public:
  // Boxes are shown on the thread that makes this object, the user-interface thread; a box
  // asked for on another thread gets the headless answer (the line, and the default button).
  GtkMessageBox();
  int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type) override;

 private:
  std::thread::id uiThread_;
};

}  // namespace gtkui
