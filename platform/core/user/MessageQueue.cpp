// Sent messages run the window's procedure at once. Posted messages wait in the queue of the
// user-interface thread; another thread may post, and the waiting loop wakes up.
#include "core/user/MessageWait.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "core/kernel/InstalledService.h"
#include "core/user/WindowManager.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

class BlockingWait : public core::MessageWait {
 public:
  void WaitForMessage() override {
    std::unique_lock lock(mutex_);
    condition_.wait(lock, [&] { return posted_; });
    posted_ = false;
  }
  void MessagePosted() override {
    {
      std::lock_guard lock(mutex_);
      posted_ = true;
    }
    condition_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  bool posted_ = false;
};

struct Queue {
  std::mutex mutex;
  std::deque<MSG> messages;
  bool quit = false;
  int exitCode = 0;
};

Queue& TheQueue() {
  static Queue queue;
  return queue;
}

core::InstalledService<core::MessageWait> installedWait;

// Held for the whole wait, so that a wait replaced meanwhile stays alive until it returns.
std::shared_ptr<core::MessageWait> Wait() { return installedWait.CurrentOrDefault<BlockingWait>(); }

DWORD Now() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool Accepts(const MSG& msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window != nullptr && msg.hwnd != window && !IsChild(window, msg.hwnd)) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return msg.message >= filterMin && msg.message <= filterMax;
}

// Takes (or copies) the first message the filter accepts; WM_QUIT comes when nothing else is
// waiting.
bool Take(MSG* msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  Queue& queue = TheQueue();
  std::lock_guard lock(queue.mutex);
  for (auto it = queue.messages.begin(); it != queue.messages.end(); ++it) {
    if (!Accepts(*it, window, filterMin, filterMax)) continue;
    *msg = *it;
    if (remove) queue.messages.erase(it);
    return true;
  }
  if (queue.quit) {
    *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.exitCode), 0, Now(), {0, 0}};
    if (remove) queue.quit = false;
    return true;
  }
  return false;
}

}  // namespace

std::shared_ptr<core::MessageWait> core::InstallMessageWait(std::shared_ptr<MessageWait> wait) {
  return installedWait.Install(std::move(wait));
}

void DiscardPostedMessages(HWND window) {
  Queue& queue = TheQueue();
  std::lock_guard lock(queue.mutex);
  queue.messages.erase(std::remove_if(queue.messages.begin(), queue.messages.end(),
                                      [&](const MSG& msg) { return msg.hwnd == window; }),
                       queue.messages.end());
}

LRESULT SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* window = WindowOf(handle);
  if (window == nullptr) return 0;
  return CallWindowProcW(window->procedure, handle, message, wParam, lParam);
}

BOOL PostMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (handle != nullptr && !IsWindow(handle)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  {
    Queue& queue = TheQueue();
    std::lock_guard lock(queue.mutex);
    queue.messages.push_back(MSG{handle, message, wParam, lParam, Now(), {0, 0}});
  }
  Wait()->MessagePosted();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  {
    Queue& queue = TheQueue();
    std::lock_guard lock(queue.mutex);
    queue.quit = true;
    queue.exitCode = exitCode;
  }
  Wait()->MessagePosted();
}

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  while (!Take(msg, window, filterMin, filterMax, true)) Wait()->WaitForMessage();
  return msg->message != WM_QUIT;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (msg == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Take(msg, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
}

BOOL TranslateMessage(const MSG* msg) { return FALSE; }

LRESULT DispatchMessageW(const MSG* msg) {
  if (msg == nullptr || msg->hwnd == nullptr) return 0;
  Window* window = WindowOf(msg->hwnd);
  if (window == nullptr) return 0;
  return CallWindowProcW(window->procedure, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}
