// MessageBoxW as a GTK message dialog. The same one line that the headless box writes goes
// to standard error as well, for whoever started the launcher from a terminal.
#pragma once

#include "core/user/MessageBoxPresenter.h"

namespace gtkui {

class GtkMessageBox : public MessageBoxPresenter {
 public:
  int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT type) override;
};

}  // namespace gtkui
