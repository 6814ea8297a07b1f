// Structured exceptions. This process has no frames of structured handlers and no debugger,
// so raising one has only two outcomes.
#include <cstdio>
#include <cstdlib>

#include "debugapi.h"

namespace {

// The thread-naming notification: only a debugger listens for it.
constexpr DWORD kSetThreadNameException = 0x406D1388;

}  // namespace

void RaiseException(DWORD dwExceptionCode, DWORD dwExceptionFlags, DWORD nNumberOfArguments,
                    const ULONG_PTR* lpArguments) {
  // Code that names a thread always wraps the raise in a handler that swallows it, since
  // without a debugger nobody else does; returning is what that handler's caller sees.
  if (dwExceptionCode == kSetThreadNameException) return;
  // Anything else would look for a handler in vain: an unhandled exception ends the process.
  std::fprintf(stderr, "Unhandled exception 0x%08lx\n", static_cast<unsigned long>(dwExceptionCode));
  std::abort();
}
