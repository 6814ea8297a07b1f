// The GtkWindow that shows one top-level window of the platform. Its client area is a
// GtkLayout in which the widgets of the window's descendants (browser views) sit where the
// platform places those windows. GtkLayout rather than GtkFixed: a GtkFixed asks for room
// for all its children, so the window could never be made smaller than its browser view,
// while a GtkLayout asks for none.
//
// Both sides can change the window. The platform's changes (SetWindowPos, ShowWindow) come
// through FollowPlatformRect; the user's (a drag of the border, the window manager's
// minimise and maximise buttons, its close button) come as GTK events, are gathered until
// the main loop is idle and then applied to the platform's window at once, so that a burst
// of configure events gives one WM_SIZE.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <optional>

#include <windows.h>

#include "gtk/WindowShowState.h"

namespace gtkui {

class WindowPresenter;

class TopLevelWindow : public std::enable_shared_from_this<TopLevelWindow> {
 public:
  TopLevelWindow(HWND window, WindowPresenter& presenter);
  ~TopLevelWindow();
  TopLevelWindow(const TopLevelWindow&) = delete;
  TopLevelWindow& operator=(const TopLevelWindow&) = delete;

  HWND Handle() const { return handle_; }
  GtkWindow* Window() const { return GTK_WINDOW(window_); }
  GtkWidget* ClientArea() const { return client_; }

  // Shows the window with the platform window's text, icons, size limits, size, place and
  // state; hides it.
  void Show();
  void Hide();
  // The platform moved, sized, minimised, maximised or restored the window.
  void FollowPlatformRect();
  void UpdateTitle();
  void UpdateIcons();
  // Puts a descendant's widget at x, y of the client area with the given size.
  void PlaceChild(GtkWidget* widget, int x, int y, int width, int height, bool visible);
  // Takes every child widget out of the client area, leaving them to their owners.
  void ReleaseChildren();
  // True while a change that GTK reported is being applied to the platform's window, so
  // that the change is not handed back to GTK.
  bool ApplyingGtkChange() const { return applyingGtkChange_; }
  // A window-manager resize drag from the pointer's place; edge is a WMSZ_* value (0: the
  // bottom-right corner).
  void BeginSizeDrag(UINT edge);

 private:
  static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static gboolean OnConfigure(GtkWidget* widget, GdkEventConfigure* event, gpointer self);
  static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
  static void OnClientAllocate(GtkWidget* widget, GdkRectangle* allocation, gpointer self);
  static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnFocusOut(GtkWidget* widget, GdkEventFocus* event, gpointer self);
  static gboolean OnSyncIdle(gpointer self);
  static gboolean OnExpectationOver(gpointer self);

  void ScheduleSync();
  void SyncToPlatform();
  // What the platform asked GTK for; until GTK shows it (or the window manager had a while
  // to refuse), GTK's older state is not handed back.
  void Expect(WindowShowState state, std::optional<SIZE> clientSize);
  bool AwaitingExpectation(WindowShowState state) const;
  void ClearExpectation();
  void UpdateGeometryHints();
  void UpdateResizable();
  void ApplyPlatformClientSize();
  SIZE PlatformClientSize() const;
  bool ClientOnScreen(RECT& rect) const;

  HWND handle_;
  WindowPresenter& presenter_;
  GtkWidget* window_;
  GtkWidget* client_;
  GdkWindowState state_ = static_cast<GdkWindowState>(0);
  guint syncSource_ = 0;
  bool applyingGtkChange_ = false;
  bool allocated_ = false;
  SIZE clientSize_{0, 0};  // the client area's last allocation
  std::optional<WindowShowState> expectedState_;
  std::optional<SIZE> expectedSize_;
  guint expectationTimer_ = 0;
  bool resizable_ = true;
};

}  // namespace gtkui
