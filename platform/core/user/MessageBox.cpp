// MessageBoxW over the installed presenter.
#include "core/user/MessageBoxPresenter.h"

#include <cstdio>

#include "core/kernel/InstalledService.h"
#include "core/kernel/UtfCodec.h"

namespace core {

namespace {

class HeadlessPresenter : public MessageBoxPresenter {
 public:
  int ShowMessageBox(HWND, const std::u16string& text, const std::u16string& caption, UINT type) override {
    std::string line = MessageBoxLine(text, caption);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return UnattendedMessageBoxAnswer(type);
  }
};

InstalledService<MessageBoxPresenter> installedPresenter;

}  // namespace

int UnattendedMessageBoxAnswer(UINT type) { return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK; }

std::string MessageBoxLine(const std::u16string& text, const std::u16string& caption) {
  std::u16string line = caption + u": ";
  for (char16_t unit : text) {
    if (unit == u'\r') continue;
    line += unit == u'\n' ? u' ' : unit;
  }
  while (!line.empty() && line.back() == u' ') line.pop_back();
  return Utf::LenientUtf8(line);
}

std::shared_ptr<MessageBoxPresenter> InstallMessageBoxPresenter(std::shared_ptr<MessageBoxPresenter> presenter) {
  return installedPresenter.Install(std::move(presenter));
}

}  // namespace core

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  const std::shared_ptr<core::MessageBoxPresenter> presenter =
      core::installedPresenter.CurrentOrDefault<core::HeadlessPresenter>();
  std::u16string body = text != nullptr ? std::u16string(text) : std::u16string();
  std::u16string title = caption != nullptr ? std::u16string(caption) : std::u16string(u"Error");
  return presenter->ShowMessageBox(owner, body, title, type);
}
