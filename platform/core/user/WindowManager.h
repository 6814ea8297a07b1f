// The window manager's objects: classes and windows. Windows live on the user-interface
// thread; the handle table is locked only so that PostMessageW from another thread can tell
// a live window from a dead one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

struct WindowClass {
  std::u16string name;  // as registered
  ATOM atom;
  UINT style;
  WNDPROC procedure;
  int classExtra;
  int windowExtra;
  HINSTANCE instance;
  HICON icon;
  HICON smallIcon;
  HCURSOR cursor;
  HBRUSH background;
  bool system;
};

struct ScrollBarState {
  bool set = false;
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
};

struct DialogState;

struct Window {
  HWND handle = nullptr;
  const WindowClass* windowClass = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  // The window rectangle in the parent's client coordinates (the screen for top-level
  // windows, whose parent is the desktop window) and the client rectangle relative to the
  // window's top-left corner.
  RECT rect{};
  RECT client{};
  HWND parent = nullptr;
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, topmost first
  UINT_PTR id = 0;
  HMENU menu = nullptr;
  HINSTANCE instance = nullptr;
  std::u16string text;
  WNDPROC procedure = nullptr;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  HRGN region = nullptr;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  HFONT font = nullptr;
  // Placement: the normal rectangle while minimised or maximised.
  RECT normalRect{};
  bool restoreToMaximized = false;
  POINT minPosition{-1, -1};
  POINT maxPosition{-1, -1};
  ScrollBarState scrollBars[3];
  std::shared_ptr<DialogState> dialog;
  bool destroying = false;
};

// Adds a window object under a new handle, and removes it for good.
HWND AddWindowObject(std::unique_ptr<Window> window);
void RemoveWindowObject(HWND handle);

// The window of a handle, or null (with ERROR_INVALID_WINDOW_HANDLE as the last error).
Window* WindowOf(HWND handle);
// The same without touching the last error.
Window* FindWindowObject(HWND handle);
Window& DesktopWindow();
bool IsTopLevel(const Window& window);
// The top-left corner of the client area in screen coordinates.
POINT ClientOriginOnScreen(const Window& window);
// The window rectangle in screen coordinates.
RECT WindowRectOnScreen(const Window& window);

// Window classes: a name or an atom, without regard to letter case.
const WindowClass* FindWindowClass(LPCWSTR nameOrAtom);
// Registers the system classes (Button, Static, ScrollBar, ListBox, Edit, #32770) once.
void EnsureSystemClasses();

// The posted messages of a destroyed window go with it.
void DiscardPostedMessages(HWND window);
// Focus and activation follow a window that goes away or is hidden or disabled.
void ForgetFocusWithin(HWND window);

// Moves a window through the platform's steps (WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, the new
// rectangle, z-order and visibility, WM_WINDOWPOSCHANGED). The deferred batch runs the three
// phases for all its windows in turn.
struct PendingMove {
  WINDOWPOS position;
  bool valid = true;
  bool changed = false;
  bool moved = false;          // the rectangle changed
  bool shownOrHidden = false;  // WS_VISIBLE changed
};
void PrepareMove(PendingMove& move);
void ApplyMove(PendingMove& move);
void NotifyMove(PendingMove& move);

// The WM_SIZE kind that the window's state gives.
WPARAM SizeKind(const Window& window);
// The client rectangle's size and its origin in the parent's client coordinates.
LPARAM ClientSizeParam(const Window& window);
LPARAM ClientOriginParam(const Window& window);

// WM_SYSCOMMAND SC_SIZE: hands the window to the presenter's sizing loop, if there is one.
void RunSizeLoop(HWND window, UINT edge);

// The class procedures of the system classes.
LRESULT CALLBACK StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ScrollBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
