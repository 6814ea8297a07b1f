// Who shows a message box. Headless, core writes the message as one line on standard error
// and answers the box's default button; the GTK presenter installs a real dialog.
#pragma once

#include <memory>
#include <string>

#include <windows.h>

namespace core {

class MessageBoxPresenter {
 public:
  virtual ~MessageBoxPresenter() = default;
  // Shows the box modally for owner (may be null) and answers the chosen button (IDOK ...).
  virtual int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                             UINT type) = 0;
};

// The line the headless presenter writes: "caption: text", with every line break of the text
// turned into a blank so that the message stays one line. UTF-8.
std::string MessageBoxLine(const std::u16string& text, const std::u16string& caption);

// The answer of a box nobody can press a button of: its first button (IDYES for a yes/no
// box, IDOK otherwise).
int UnattendedMessageBoxAnswer(UINT type);

// Answers the presenter it replaces; null goes back to the headless one.
std::shared_ptr<MessageBoxPresenter> InstallMessageBoxPresenter(std::shared_ptr<MessageBoxPresenter> presenter);

}  // namespace core
