#include "foundation/ThreadName.h"

#include <memory>

#include <windows.h>

namespace {

// The record a debugger reads from the thread-naming exception's arguments.
struct ThreadNameInfo {
  DWORD type;         // always 0x1000
  const char* name;   // zero-terminated
  DWORD threadId;     // (DWORD)-1: the calling thread
  DWORD flags;        // reserved, 0
};
static_assert(sizeof(ThreadNameInfo) % sizeof(ULONG_PTR) == 0, "the record travels as whole arguments");

constexpr DWORD kSetThreadNameException = 0x406D1388;

[[maybe_unused]] ThreadLocalPtr<std::string>& madeBeforeMain = TheThreadName();

}  // namespace

ThreadLocalPtr<std::string>& TheThreadName() {
  static ThreadLocalPtr<std::string> name;
  return name;
}

void SetThreadName(UStringRef<UTF8> name) {
  auto copy = std::make_unique<std::string>(name.view());
  const char* stored = copy->c_str();
  TheThreadName().Reset(copy.release());
  const ThreadNameInfo info{0x1000, stored, static_cast<DWORD>(-1), 0};
  // The platform returns from this when nobody listens; with a debugger attached, the debugger
  // reads the record and lets the thread continue.
  RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR), reinterpret_cast<const ULONG_PTR*>(&info));
}
