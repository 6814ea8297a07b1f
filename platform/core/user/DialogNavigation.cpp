#include "core/user/DialogNavigation.h"

#include <algorithm>
#include <vector>

namespace {

bool IsUsable(HWND window) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

void CollectTabStops(HWND parent, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUsable(child)) continue;
    if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
      CollectTabStops(child, stops);
    else if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)
      stops.push_back(child);
  }
}

}  // namespace

LRESULT MoveDialogFocus(HWND dialog, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam) != 0) {
    const HWND target = reinterpret_cast<HWND>(wParam);
    if (target != nullptr && IsChild(dialog, target)) SetFocus(target);
    return 0;
  }
  std::vector<HWND> stops;
  CollectTabStops(dialog, stops);
  if (stops.empty()) return 0;
  const bool previous = wParam != 0;
  const HWND focus = GetFocus();
  // The focus may be inside a tab stop (a control with windows of its own).
  auto current = std::find_if(stops.begin(), stops.end(),
                              [&](HWND stop) { return stop == focus || IsChild(stop, focus); });
  HWND next;
  if (current == stops.end())
    next = previous ? stops.back() : stops.front();
  else if (previous)
    next = current == stops.begin() ? stops.back() : *(current - 1);
  else
    next = current + 1 == stops.end() ? stops.front() : *(current + 1);
  SetFocus(next);
  return 0;
}
