// Sizing a window the way the user does it, for the presenter: a drag of a border or of a
// size grip. The platform runs a sizing loop on WM_SYSCOMMAND SC_SIZE; headless, that command
// goes to a sizing loop the presenter installs (to start its own drag), and each step of the
// drag comes back through SizeWindowByUser.
#pragma once

#include <memory>

#include <windows.h>

// WM_ENTERSIZEMOVE; WM_SIZING with the edge (WMSZ_*) and the proposed rectangle in screen
// coordinates, which the window may change; the tracking limits of WM_GETMINMAXINFO, the
// dragged edges giving way; the move; WM_EXITSIZEMOVE. FALSE for a window that is not there
// or is minimised or maximised.
BOOL SizeWindowByUser(HWND window, UINT edge, RECT proposed);

namespace core {

class SizeLoop {
 public:
  virtual ~SizeLoop() = default;
  // Called for WM_SYSCOMMAND SC_SIZE with the window and the edge (0 when the command names
  // none).
  virtual void Run(HWND window, UINT edge) = 0;
};

// Answers the loop it replaces; null: the command does nothing.
std::shared_ptr<SizeLoop> InstallSizeLoop(std::shared_ptr<SizeLoop> loop);

}  // namespace core
