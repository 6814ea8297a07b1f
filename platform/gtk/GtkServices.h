// Start-up of the GTK side of the platform: the presenter that shows the platform's windows,
// the modal loop's wait on the GLib main loop, message boxes, the desktop's facts, the
// sizing loop and the WebKit browser engine.
#pragma once

#include <string>

namespace gtkui {

// Opens the display and installs all of it, once; later calls answer true at once. False,
// with a one-line reason, when there is no display to open; nothing is installed then, and
// the platform stays headless.
bool InstallGtkServices(std::string& reason);

}  // namespace gtkui
