// The presenter: each top-level window of the platform becomes a GtkWindow, and widgets that
// stand for platform windows (the browser view of an "Internet Explorer_Server" window) sit
// in the GtkWindow of their top-level ancestor, where and while the platform shows that
// window. It learns every change as the platform's window observer.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>

#include <windows.h>

#include "core/user/WindowObserver.h"

namespace gtkui {

class TopLevelWindow;

class WindowPresenter : public core::WindowObserver {
 public:
  static WindowPresenter& Instance();

  void WindowCreated(HWND window) override;
  void WindowDestroying(HWND window) override;
  void WindowMoved(HWND window, const RECT& windowRectOnScreen) override;
  void WindowVisibilityChanged(HWND window, bool visible) override;
  void WindowTextChanged(HWND window) override;
  void WindowIconChanged(HWND window) override;

  // The widget shows the window from now on; the presenter holds a reference until
  // DetachWidget, or until the window is destroyed.
  void AttachWidget(HWND window, GtkWidget* widget);
  void DetachWidget(HWND window);

  // The GtkWindow of the window's top-level ancestor, or null.
  GtkWindow* GtkWindowOf(HWND window) const;
  std::shared_ptr<TopLevelWindow> TopLevelOf(HWND window) const;
  // Places the attached widgets below a top-level window where their windows are.
  void PlaceWidgets(HWND topLevel);

 private:
  std::map<HWND, std::shared_ptr<TopLevelWindow>> topLevels_;
  std::map<HWND, GtkWidget*> widgets_;
};

// WM_SYSCOMMAND SC_SIZE's sizing loop: a window-manager resize drag of the GtkWindow.
void StartSizeLoop(HWND window, UINT edge);

}  // namespace gtkui
