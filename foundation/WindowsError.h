// Failed platform calls become Windows::Error, whose message "Windows Error 0x{err}: {msg}"
// is built from the system's message table on first request.
#pragma once

#include <cstdint>

#include <windows.h>

#include "foundation/CopiedUString.h"
#include "foundation/DebuggableException.h"

namespace Windows {

class Error : public DebuggableException {
 public:
  explicit Error(std::uint32_t code, HMODULE module = nullptr) : code_(code), module_(module) {}
  // A copy keeps the code and the module; its texts are built again on request.
  Error(const Error& other) : DebuggableException(other), code_(other.code_), module_(other.module_) {}
  Error& operator=(const Error& other);
  ~Error() override = default;

  std::uint32_t Code() const { return code_; }
  HMODULE Module() const { return module_; }

  const char* what() const noexcept override;
  UStringRef<UTF8> MessageUtf8() const override;

 private:
  std::uint32_t code_;
  HMODULE module_;
  mutable CopiedUString<UTF8> message_;
  mutable CopiedUString<UTF8> narrowMessage_;
};

}  // namespace Windows

// A handler replaces the throw for its code: raising calls it and then returns.
using WindowsErrorHandler = void (*)(const Windows::Error& error);
// Registers the handler for code, replacing any earlier one; a null handler removes it.
// The system registers none.
void SetWindowsErrorHandler(std::uint32_t code, WindowsErrorHandler handler);

// Does nothing for 0; otherwise raises Windows::Error (or calls a handler registered for the code).
void RaiseWindowsError(std::uint32_t code, HMODULE module = nullptr);
void RaiseLastError(HMODULE module = nullptr);
void CheckLastError(BOOL succeeded, HMODULE module = nullptr);

// The platform's text for the error's code, trimmed; "unknown error 0x.." when it has none.
CopiedUString<UTF8> SystemMessageText(const Windows::Error& error, DWORD widthBits, HMODULE module);
// The short form "Windows Error 0x{e}%: {s}" used by the file errors.
CopiedUString<UTF8> WindowsErrorText(std::uint32_t code);
