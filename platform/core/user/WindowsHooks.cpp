// The thread's WH_CBT hook chain.
#include "core/user/WindowsHooks.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

namespace {

struct Hook {
  HHOOK handle;
  HOOKPROC procedure;
};

// Newest last; a hook procedure may install or remove hooks while it runs, so the chain is
// walked by handle, never by an iterator kept across a call.
thread_local std::vector<Hook> chain;
std::atomic<std::uintptr_t> lastHandle{0};

// The hook installed before the one with this handle, or null.
const Hook* Before(HHOOK handle) {
  auto it = std::find_if(chain.begin(), chain.end(), [&](const Hook& hook) { return hook.handle == handle; });
  return it == chain.end() || it == chain.begin() ? nullptr : &*(it - 1);
}

}  // namespace

HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId) {
  if (lpfn == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (idHook != WH_CBT || hmod != nullptr || dwThreadId != GetCurrentThreadId()) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  const HHOOK handle = reinterpret_cast<HHOOK>(++lastHandle);
  chain.push_back(Hook{handle, lpfn});
  return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  auto it = std::find_if(chain.begin(), chain.end(), [&](const Hook& hook) { return hook.handle == hhk; });
  if (it == chain.end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  chain.erase(it);
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam) {
  const Hook* next = Before(hhk);
  return next != nullptr ? next->procedure(nCode, wParam, lParam) : 0;
}

bool CreationRefusedByHooks(HWND window, CREATESTRUCTW* cs, HWND insertAfter) {
  if (chain.empty()) return false;
  CBT_CREATEWNDW event{cs, insertAfter};
  const HOOKPROC newest = chain.back().procedure;
  return newest(HCBT_CREATEWND, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&event)) != 0;
}
