// A window class that records the messages its windows receive, with optional per-message
// handlers, and the fixture of the window manager's tests, which destroys the top-level
// windows a test made.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

// A window class that does what DefWindowProcW does, registered on first use: for parents and
// containers whose messages no test looks at.
inline LPCWSTR PlainWindowClass() {
  static const ATOM registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"TestPlainWindow";
    return RegisterClassExW(&wc);
  }();
  (void)registered;
  return u"TestPlainWindow";
}

struct RecordedMessage {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class MessageRecorder {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

  MessageRecorder() {
    static const ATOM registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &MessageRecorder::Procedure;
      wc.lpszClassName = u"TestRecorder";
      return RegisterClassExW(&wc);
    }();
    (void)registered;
    Current() = this;
  }
  ~MessageRecorder() { Current() = nullptr; }

  // A handler replaces the default processing of that message for every recorded window.
  void On(UINT message, Handler handler) { handlers_[message] = std::move(handler); }
  void Clear() { messages_.clear(); }
  const std::vector<RecordedMessage>& Messages() const { return messages_; }

  // The messages (from the given set) in the order they arrived, as (window, message) pairs.
  std::vector<std::pair<HWND, UINT>> Sequence(const std::vector<UINT>& interesting) const {
    std::vector<std::pair<HWND, UINT>> out;
    for (const auto& m : messages_)
      for (UINT i : interesting)
        if (m.message == i) out.emplace_back(m.window, m.message);
    return out;
  }
  std::vector<RecordedMessage> Of(UINT message) const {
    std::vector<RecordedMessage> out;
    for (const auto& m : messages_)
      if (m.message == message) out.push_back(m);
    return out;
  }

  static HWND Create(DWORD style, RECT r, HWND parent = nullptr, DWORD exStyle = 0, UINT id = 0) {
    return CreateWindowExW(exStyle, u"TestRecorder", u"", style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }

 private:
  static MessageRecorder*& Current() {
    static MessageRecorder* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageRecorder* self = Current();
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    self->messages_.push_back({window, message, wParam, lParam});
    auto it = self->handlers_.find(message);
    if (it != self->handlers_.end()) return it->second(window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  std::vector<RecordedMessage> messages_;
  std::map<UINT, Handler> handlers_;
};

inline RECT WindowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

inline RECT ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

class WindowManagerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (HWND w : created_)
      if (IsWindow(w)) DestroyWindow(w);
  }
  HWND Make(DWORD style, RECT r, HWND parent = nullptr, UINT id = 0, DWORD exStyle = 0) {
    HWND w = MessageRecorder::Create(style, r, parent, exStyle, id);
    EXPECT_NE(w, nullptr);
    if (!(style & WS_CHILD)) created_.push_back(w);
    return w;
  }
  MessageRecorder recorder_;
  std::vector<HWND> created_;
};
