#include "gtk/GtkServices.h"

#include <gtk/gtk.h>

#include <clocale>
#include <cstdlib>

#include "core/com/BrowserEngine.h"
#include "core/user/DesktopFacts.h"
#include "core/user/UserSizing.h"
#include "gtk/GLibMessageWait.h"
#include "gtk/GtkDesktopFacts.h"
#include "gtk/GtkMessageBox.h"
#include "gtk/WebKitBrowserEngine.h"
#include "gtk/WindowPresenter.h"

namespace gtkui {

namespace {

std::string NoDisplayReason() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0'))
    return "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
  std::string reason = "cannot open the display";
  if (x11 != nullptr && *x11 != '\0') reason += std::string(" DISPLAY=") + x11;
  if (wayland != nullptr && *wayland != '\0') reason += std::string(" WAYLAND_DISPLAY=") + wayland;
  return reason;
}

class GtkSizeLoop : public core::SizeLoop {
 public:
  void Run(HWND window, UINT edge) override { StartSizeLoop(window, edge); }
};

}  // namespace

bool InstallGtkServices(std::string& reason) {
  static bool installed = false;
  if (installed) return true;
  if (!gtk_init_check(nullptr, nullptr)) {
    reason = NoDisplayReason();
    return false;
  }
  // GTK takes the user's locale; numbers keep the C form that the rest of the program
  // writes and reads.
  std::setlocale(LC_NUMERIC, "C");
  // Made once, after GTK; the slots keep them until the process ends.
  core::InstallDesktopFacts(std::make_shared<GtkDesktopFacts>());
  core::InstallMessageWait(std::make_shared<GLibMessageWait>());
  core::InstallMessageBoxPresenter(std::make_shared<GtkMessageBox>());
  // The presenter is the process's one, never destroyed: the slot holds it without owning it.
  core::InstallWindowObserver(std::shared_ptr<core::WindowObserver>(std::shared_ptr<void>(), &WindowPresenter::Instance()));
  core::InstallSizeLoop(std::make_shared<GtkSizeLoop>());
  core::InstallBrowserEngine(std::make_shared<WebKitBrowserEngine>());
  installed = true;
  return true;
}

}  // namespace gtkui
