#include "foundation/Wow64RedirectionGuard.h"

#include <mutex>

#include <windows.h>

#include "WideText.h"

namespace {

using DisableRedirection = BOOL (*)(void** oldValue);
using RevertRedirection = BOOL (*)(void* oldValue);

// An entry point's real signature is known only to its caller; void (*)() is the neutral type
// to pass through.
template <class Entry>
Entry EntryPoint(HMODULE module, LPCSTR name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Loaded once and never released: the entry points must stay valid for every later guard.
HMODULE Kernel32() {
  static HMODULE module;
  static std::once_flag once;
  std::call_once(once, [] { module = LoadLibraryW(WIDE("Kernel32.dll")); });
  return module;
}

// Each entry point is looked up on its first use only; either may be missing.
DisableRedirection DisableEntry() {
  static DisableRedirection entry = [] {
    HMODULE module = Kernel32();
    return module ? EntryPoint<DisableRedirection>(module, "Wow64DisableWow64FsRedirection") : nullptr;
  }();
  return entry;
}

RevertRedirection RevertEntry() {
  static RevertRedirection entry = [] {
    HMODULE module = Kernel32();
    return module ? EntryPoint<RevertRedirection>(module, "Wow64RevertWow64FsRedirection") : nullptr;
  }();
  return entry;
}

}  // namespace

Wow64RedirectionGuard::Wow64RedirectionGuard(bool enable) : enabled_(enable) {
  if (!enabled_) return;
  if (DisableRedirection disable = DisableEntry()) disable(&savedState_);
}

Wow64RedirectionGuard::~Wow64RedirectionGuard() {
  if (!enabled_) return;
  if (RevertRedirection revert = RevertEntry()) revert(savedState_);
}
