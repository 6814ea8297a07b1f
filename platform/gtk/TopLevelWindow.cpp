#include "gtk/TopLevelWindow.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/user/IconImage.h"
#include "core/user/KeyboardState.h"
#include "gtk/KeyMessage.h"
#include "gtk/TextConversion.h"
#include "gtk/WindowPresenter.h"
#include "gtk/WindowShowState.h"

namespace gtkui {

namespace {

// How long the window manager may take to carry out what the platform asked for.
constexpr guint kExpectationMs = 1000;

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8Of(text);
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)); }

WindowShowState PlatformShowState(DWORD style) {
  if (style & WS_MINIMIZE) return WindowShowState::Minimized;
  if (style & WS_MAXIMIZE) return WindowShowState::Maximized;
  return WindowShowState::Normal;
}

// What the frame adds to the client area under the window's style.
SIZE FrameSize(HWND window) {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, StyleOf(window), GetMenu(window) != nullptr, ExStyleOf(window));
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

GdkPixbuf* PixbufOf(HICON icon) {
  IconImage image;
  if (icon == nullptr || !ReadIconImage(icon, image)) return nullptr;
  GBytes* bytes = g_bytes_new(image.rgba.data(), image.rgba.size());
  GdkPixbuf* pixbuf =
      gdk_pixbuf_new_from_bytes(bytes, GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height, image.width * 4);
  g_bytes_unref(bytes);
  return pixbuf;
}

GdkWindowEdge EdgeOf(UINT edge) {
  switch (edge) {
    case WMSZ_LEFT: return GDK_WINDOW_EDGE_WEST;
    case WMSZ_RIGHT: return GDK_WINDOW_EDGE_EAST;
    case WMSZ_TOP: return GDK_WINDOW_EDGE_NORTH;
    case WMSZ_TOPLEFT: return GDK_WINDOW_EDGE_NORTH_WEST;
    case WMSZ_TOPRIGHT: return GDK_WINDOW_EDGE_NORTH_EAST;
    case WMSZ_BOTTOM: return GDK_WINDOW_EDGE_SOUTH;
    case WMSZ_BOTTOMLEFT: return GDK_WINDOW_EDGE_SOUTH_WEST;
    default: return GDK_WINDOW_EDGE_SOUTH_EAST;
  }
}

}  // namespace

TopLevelWindow::TopLevelWindow(HWND window, WindowPresenter& presenter)
    : handle_(window), presenter_(presenter), window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)), client_(gtk_layout_new(nullptr, nullptr)) {
  g_object_ref_sink(window_);
  gtk_container_add(GTK_CONTAINER(window_), client_);
  g_signal_connect(window_, "delete-event", G_CALLBACK(&TopLevelWindow::OnDelete), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(&TopLevelWindow::OnConfigure), this);
  g_signal_connect(window_, "window-state-event", G_CALLBACK(&TopLevelWindow::OnWindowState), this);
  g_signal_connect(client_, "size-allocate", G_CALLBACK(&TopLevelWindow::OnClientAllocate), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&TopLevelWindow::OnKey), this);
  g_signal_connect(window_, "key-release-event", G_CALLBACK(&TopLevelWindow::OnKey), this);
  g_signal_connect(window_, "focus-out-event", G_CALLBACK(&TopLevelWindow::OnFocusOut), this);
}

TopLevelWindow::~TopLevelWindow() {
  if (syncSource_ != 0) g_source_remove(syncSource_);
  if (expectationTimer_ != 0) g_source_remove(expectationTimer_);
  g_signal_handlers_disconnect_by_data(window_, this);
  g_signal_handlers_disconnect_by_data(client_, this);
  ReleaseChildren();
  gtk_widget_destroy(window_);
  g_object_unref(window_);
}

void TopLevelWindow::Show() {
  UpdateTitle();
  UpdateIcons();
  UpdateResizable();
  UpdateGeometryHints();
  const HWND owner = GetWindow(handle_, GW_OWNER);
  GtkWindow* ownerWindow = owner != nullptr ? presenter_.GtkWindowOf(owner) : nullptr;
  gtk_window_set_transient_for(Window(), ownerWindow);
  // The platform makes a window modal by disabling its owner.
  gtk_window_set_modal(Window(), ownerWindow != nullptr && !IsWindowEnabled(owner));
  gtk_window_set_type_hint(Window(), ownerWindow != nullptr ? GDK_WINDOW_TYPE_HINT_DIALOG : GDK_WINDOW_TYPE_HINT_NORMAL);
  gtk_window_set_decorated(Window(), (StyleOf(handle_) & WS_CAPTION) == WS_CAPTION);
  const SIZE client = PlatformClientSize();
  gtk_window_set_default_size(Window(), client.cx, client.cy);
  ApplyPlatformClientSize();
  RECT rect{};
  GetWindowRect(handle_, &rect);
  const DWORD style = StyleOf(handle_);
  Expect(PlatformShowState(style), client);
  if (!(style & (WS_MINIMIZE | WS_MAXIMIZE))) gtk_window_move(Window(), rect.left, rect.top);
  if (style & WS_MAXIMIZE) gtk_window_maximize(Window());
  if (style & WS_MINIMIZE) gtk_window_iconify(Window());
  gtk_widget_show(client_);
  gtk_window_present(Window());
  presenter_.PlaceWidgets(handle_);
}

void TopLevelWindow::Hide() { gtk_widget_hide(window_); }

void TopLevelWindow::FollowPlatformRect() {
  if (!gtk_widget_get_visible(window_)) return;  // Show reads the rectangle
  UpdateGeometryHints();
  const DWORD style = StyleOf(handle_);
  const WindowShowState state = PlatformShowState(style);
  if (state == WindowShowState::Minimized) {
    Expect(state, std::nullopt);
    if (!(state_ & GDK_WINDOW_STATE_ICONIFIED)) gtk_window_iconify(Window());
    return;
  }
  if (state_ & GDK_WINDOW_STATE_ICONIFIED) gtk_window_deiconify(Window());
  if (state == WindowShowState::Maximized) {
    Expect(state, std::nullopt);
    if (!(state_ & GDK_WINDOW_STATE_MAXIMIZED)) gtk_window_maximize(Window());
    return;
  }
  if (state_ & GDK_WINDOW_STATE_MAXIMIZED) gtk_window_unmaximize(Window());
  Expect(state, PlatformClientSize());
  ApplyPlatformClientSize();
  RECT rect{};
  GetWindowRect(handle_, &rect);
  gtk_window_move(Window(), rect.left, rect.top);
}

// A resizable window takes the client size as its size; a fixed one asks for it through its
// client area, as GTK sizes such a window by what its content asks for.
void TopLevelWindow::ApplyPlatformClientSize() {
  const SIZE client = PlatformClientSize();
  if (resizable_) {
    gtk_widget_set_size_request(client_, -1, -1);
    gtk_window_resize(Window(), client.cx, client.cy);
  } else {
    gtk_widget_set_size_request(client_, client.cx, client.cy);
  }
}

// GTK has no window of no size: an empty client area is one pixel.
SIZE TopLevelWindow::PlatformClientSize() const {
  RECT client{};
  GetClientRect(handle_, &client);
  return SIZE{std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)};
}

void TopLevelWindow::UpdateTitle() { gtk_window_set_title(Window(), WindowText(handle_).c_str()); }

void TopLevelWindow::UpdateIcons() {
  GList* icons = nullptr;
  const HICON big = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_BIG, 0));
  const HICON small = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
  if (GdkPixbuf* pixbuf = PixbufOf(big)) icons = g_list_append(icons, pixbuf);
  if (small != big)
    if (GdkPixbuf* pixbuf = PixbufOf(small)) icons = g_list_append(icons, pixbuf);
  gtk_window_set_icon_list(Window(), icons);
  g_list_free_full(icons, g_object_unref);
}

void TopLevelWindow::UpdateResizable() {
  resizable_ = (StyleOf(handle_) & WS_THICKFRAME) != 0;
  gtk_window_set_resizable(Window(), resizable_);
}

// The window's tracking limits (WM_GETMINMAXINFO, window sizes) less the frame, as the
// smallest and largest client area; a largest size is given only when the window asks for
// one below the platform's own limit.
void TopLevelWindow::UpdateGeometryHints() {
  MINMAXINFO info{};
  info.ptMaxSize = POINT{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  const POINT defaultMax = info.ptMaxTrackSize;
  SendMessageW(handle_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  if (!IsWindow(handle_)) return;
  const SIZE frame = FrameSize(handle_);
  GdkGeometry geometry{};
  geometry.min_width = std::max<int>(1, info.ptMinTrackSize.x - frame.cx);
  geometry.min_height = std::max<int>(1, info.ptMinTrackSize.y - frame.cy);
  int hints = GDK_HINT_MIN_SIZE;
  if (info.ptMaxTrackSize.x < defaultMax.x || info.ptMaxTrackSize.y < defaultMax.y) {
    geometry.max_width = std::max<int>(geometry.min_width, info.ptMaxTrackSize.x - frame.cx);
    geometry.max_height = std::max<int>(geometry.min_height, info.ptMaxTrackSize.y - frame.cy);
    hints |= GDK_HINT_MAX_SIZE;
  }
  gtk_window_set_geometry_hints(Window(), nullptr, &geometry, static_cast<GdkWindowHints>(hints));
}

// Only what changed is set: each change makes GTK lay the window out again, and the layout
// comes back here.
void TopLevelWindow::PlaceChild(GtkWidget* widget, int x, int y, int width, int height, bool visible) {
  width = std::max(1, width);
  height = std::max(1, height);
  GtkWidget* parent = gtk_widget_get_parent(widget);
  if (parent != client_) {
    if (parent != nullptr) gtk_container_remove(GTK_CONTAINER(parent), widget);
    gtk_layout_put(GTK_LAYOUT(client_), widget, x, y);
  } else {
    gint oldX = 0;
    gint oldY = 0;
    gtk_container_child_get(GTK_CONTAINER(client_), widget, "x", &oldX, "y", &oldY, nullptr);
    if (oldX != x || oldY != y) gtk_layout_move(GTK_LAYOUT(client_), widget, x, y);
  }
  gint oldWidth = 0;
  gint oldHeight = 0;
  gtk_widget_get_size_request(widget, &oldWidth, &oldHeight);
  if (oldWidth != width || oldHeight != height) gtk_widget_set_size_request(widget, width, height);
  if (gtk_widget_get_visible(widget) != visible) gtk_widget_set_visible(widget, visible);
}

void TopLevelWindow::ReleaseChildren() {
  GList* children = gtk_container_get_children(GTK_CONTAINER(client_));
  for (GList* child = children; child != nullptr; child = child->next)
    gtk_container_remove(GTK_CONTAINER(client_), GTK_WIDGET(child->data));
  g_list_free(children);
}

void TopLevelWindow::BeginSizeDrag(UINT edge) {
  if (!gtk_widget_get_visible(window_) || !resizable_) return;
  GdkSeat* seat = gdk_display_get_default_seat(gtk_widget_get_display(window_));
  GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
  if (pointer == nullptr) return;
  int x = 0;
  int y = 0;
  gdk_device_get_position(pointer, nullptr, &x, &y);
  gtk_window_begin_resize_drag(Window(), EdgeOf(edge), 1, x, y, gtk_get_current_event_time());
}

// The close button is the platform's close command; the platform's window decides (a dialog
// ends itself, another window destroys itself). A disabled window, the owner of a modal
// dialog, takes no command.
gboolean TopLevelWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  const HWND handle = static_cast<TopLevelWindow*>(self)->handle_;
  if (IsWindow(handle) && IsWindowEnabled(handle)) PostMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
  return TRUE;
}

gboolean TopLevelWindow::OnConfigure(GtkWidget*, GdkEventConfigure*, gpointer self) {
  static_cast<TopLevelWindow*>(self)->ScheduleSync();
  return FALSE;
}

gboolean TopLevelWindow::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
  auto* window = static_cast<TopLevelWindow*>(self);
  window->state_ = event->new_window_state;
  window->ScheduleSync();
  return FALSE;
}

// A new size of the client area; the same size again (GTK lays out for many reasons) is none.
void TopLevelWindow::OnClientAllocate(GtkWidget*, GdkRectangle* allocation, gpointer self) {
  auto* window = static_cast<TopLevelWindow*>(self);
  const SIZE size{allocation->width, allocation->height};
  if (window->allocated_ && size.cx == window->clientSize_.cx && size.cy == window->clientSize_.cy) return;
  window->allocated_ = true;
  window->clientSize_ = size;
  window->ScheduleSync();
}

// Every key the window sees keeps GetKeyState current; the key itself goes on to the widget
// that has the focus.
gboolean TopLevelWindow::OnKey(GtkWidget*, GdkEventKey* event, gpointer) {
  TrackKeyState(*event);
  return FALSE;
}

// Keys released while another window has the focus never reach this one.
gboolean TopLevelWindow::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer) {
  ReleaseAllVirtualKeys();
  return FALSE;
}

// Before GTK lays out and draws, so that the browser view moves in the same frame.
void TopLevelWindow::ScheduleSync() {
  if (syncSource_ == 0) syncSource_ = g_idle_add_full(G_PRIORITY_HIGH_IDLE, &TopLevelWindow::OnSyncIdle, this, nullptr);
}

gboolean TopLevelWindow::OnSyncIdle(gpointer self) {
  auto* window = static_cast<TopLevelWindow*>(self);
  window->syncSource_ = 0;
  window->SyncToPlatform();
  return G_SOURCE_REMOVE;
}

void TopLevelWindow::SyncToPlatform() {
  if (!IsWindow(handle_) || !gtk_widget_get_visible(window_) || !allocated_) return;
  const WindowShowState show = ShowStateOf(state_);
  if (AwaitingExpectation(show)) return;
  if (expectedState_) ClearExpectation();
  // The platform's window may be destroyed by what its handlers do with the change.
  const std::shared_ptr<TopLevelWindow> keep = shared_from_this();
  RECT client{};
  const bool haveClient = show != WindowShowState::Minimized && ClientOnScreen(client);
  applyingGtkChange_ = true;
  ApplyGtkWindowState(handle_, show, haveClient ? &client : nullptr);
  applyingGtkChange_ = false;
  if (IsWindow(handle_)) presenter_.PlaceWidgets(handle_);
}

void TopLevelWindow::Expect(WindowShowState state, std::optional<SIZE> clientSize) {
  expectedState_ = state;
  expectedSize_ = clientSize;
  if (expectationTimer_ != 0) g_source_remove(expectationTimer_);
  expectationTimer_ = g_timeout_add(kExpectationMs, &TopLevelWindow::OnExpectationOver, this);
}

void TopLevelWindow::ClearExpectation() {
  expectedState_.reset();
  expectedSize_.reset();
  if (expectationTimer_ != 0) g_source_remove(std::exchange(expectationTimer_, 0));
}

bool TopLevelWindow::AwaitingExpectation(WindowShowState state) const {
  if (!expectedState_) return false;
  const bool sizeMet = !expectedSize_ || (expectedSize_->cx == clientSize_.cx && expectedSize_->cy == clientSize_.cy);
  return !(sizeMet && state == *expectedState_);
}

// The window manager had its chance: what GTK shows now is what the user sees.
gboolean TopLevelWindow::OnExpectationOver(gpointer self) {
  auto* window = static_cast<TopLevelWindow*>(self);
  window->expectationTimer_ = 0;  // the timer ends with this call
  window->ClearExpectation();
  window->ScheduleSync();
  return G_SOURCE_REMOVE;
}

bool TopLevelWindow::ClientOnScreen(RECT& rect) const {
  GdkWindow* gdkWindow = gtk_widget_get_window(client_);
  if (gdkWindow == nullptr) return false;
  int x = 0;
  int y = 0;
  gdk_window_get_origin(gdkWindow, &x, &y);
  GtkAllocation allocation{};
  gtk_widget_get_allocation(client_, &allocation);
  rect = RECT{x, y, x + allocation.width, y + allocation.height};
  return true;
}

}  // namespace gtkui
