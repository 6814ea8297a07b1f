#include "gtk/WindowPresenter.h"

#include <vector>

#include "gtk/TopLevelWindow.h"

namespace gtkui {

namespace {

HWND RootOf(HWND window) { return window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr; }

}  // namespace

// Never destroyed: its GTK windows must not be torn down while the process ends, after GTK
// may be gone.
WindowPresenter& WindowPresenter::Instance() {
  static WindowPresenter* presenter = new WindowPresenter();
  return *presenter;
}

void WindowPresenter::WindowCreated(HWND window) {
  if (RootOf(window) == window) topLevels_.emplace(window, std::make_shared<TopLevelWindow>(window, *this));
}

void WindowPresenter::WindowDestroying(HWND window) {
  if (widgets_.count(window) != 0) DetachWidget(window);
  auto found = topLevels_.find(window);
  if (found == topLevels_.end()) return;
  // Widgets of windows below it belong to their owners, not to the GtkWindow that goes.
  found->second->ReleaseChildren();
  const std::shared_ptr<TopLevelWindow> gone = std::move(found->second);
  topLevels_.erase(found);
}

void WindowPresenter::WindowMoved(HWND window, const RECT&) {
  const HWND root = RootOf(window);
  const std::shared_ptr<TopLevelWindow> topLevel = TopLevelOf(root);
  if (topLevel == nullptr) return;
  if (window == root && !topLevel->ApplyingGtkChange()) topLevel->FollowPlatformRect();
  PlaceWidgets(root);
}

void WindowPresenter::WindowVisibilityChanged(HWND window, bool visible) {
  const HWND root = RootOf(window);
  const std::shared_ptr<TopLevelWindow> topLevel = TopLevelOf(root);
  if (topLevel == nullptr) return;
  if (window == root) {
    if (visible)
      topLevel->Show();
    else
      topLevel->Hide();
  }
  PlaceWidgets(root);
}

void WindowPresenter::WindowTextChanged(HWND window) {
  auto found = topLevels_.find(window);
  if (found != topLevels_.end()) found->second->UpdateTitle();
}

void WindowPresenter::WindowIconChanged(HWND window) {
  auto found = topLevels_.find(window);
  if (found != topLevels_.end()) found->second->UpdateIcons();
}

void WindowPresenter::AttachWidget(HWND window, GtkWidget* widget) {
  if (widget == nullptr || !IsWindow(window)) return;
  DetachWidget(window);
  widgets_.emplace(window, GTK_WIDGET(g_object_ref(widget)));
  PlaceWidgets(RootOf(window));
}

void WindowPresenter::DetachWidget(HWND window) {
  auto found = widgets_.find(window);
  if (found == widgets_.end()) return;
  GtkWidget* widget = found->second;
  widgets_.erase(found);
  if (GtkWidget* parent = gtk_widget_get_parent(widget)) gtk_container_remove(GTK_CONTAINER(parent), widget);
  g_object_unref(widget);
}

GtkWindow* WindowPresenter::GtkWindowOf(HWND window) const {
  const std::shared_ptr<TopLevelWindow> topLevel = TopLevelOf(window);
  return topLevel != nullptr ? topLevel->Window() : nullptr;
}

std::shared_ptr<TopLevelWindow> WindowPresenter::TopLevelOf(HWND window) const {
  auto found = topLevels_.find(RootOf(window));
  return found != topLevels_.end() ? found->second : nullptr;
}

// A minimised window keeps its widgets where they were: its client area has no size then.
void WindowPresenter::PlaceWidgets(HWND topLevel) {
  const std::shared_ptr<TopLevelWindow> shown = TopLevelOf(topLevel);
  if (shown == nullptr || shown->Handle() != topLevel || IsIconic(topLevel)) return;
  POINT origin{0, 0};
  ClientToScreen(topLevel, &origin);
  for (const auto& [window, widget] : widgets_) {
    if (!IsWindow(window) || RootOf(window) != topLevel) continue;
    RECT rect{};
    GetWindowRect(window, &rect);
    shown->PlaceChild(widget, rect.left - origin.x, rect.top - origin.y, rect.right - rect.left, rect.bottom - rect.top,
                      IsWindowVisible(window) != FALSE);
  }
}

void StartSizeLoop(HWND window, UINT edge) {
  if (const std::shared_ptr<TopLevelWindow> topLevel = WindowPresenter::Instance().TopLevelOf(window))
    topLevel->BeginSizeDrag(edge);
}

}  // namespace gtkui
