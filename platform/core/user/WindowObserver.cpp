#include "core/user/WindowObserver.h"

#include <atomic>

namespace {
std::atomic<WindowObserver*> installed{nullptr};
}

WindowObserver* InstallWindowObserver(WindowObserver* observer) { return installed.exchange(observer); }

WindowObserver* CurrentWindowObserver() { return installed.load(); }
