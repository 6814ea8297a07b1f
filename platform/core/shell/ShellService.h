// Where ShellExecuteW goes: a service that really opens things (the machine's shell) or one
// that records what it was asked (tests). Core only carries the request across.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

namespace core {

// One ShellExecuteW call. The texts are the caller's, valid only during Execute (a shell
// that keeps them copies them), so a request costs no allocation. A null verb, parameters or
// directory is nothing, which differs from an empty text: a null verb means the file type's
// default verb.
struct ShellExecuteRequest {
  HWND owner = nullptr;
  std::optional<std::u16string_view> verb;
  std::u16string_view file;
  std::optional<std::u16string_view> parameters;
  std::optional<std::u16string_view> directory;
  INT showCommand = 0;
};

// What the shell answers: the result ShellExecuteW returns (greater than 32 on success, an
// SE_ERR_* code otherwise) and, on failure, the platform status for the thread's last error.
struct ShellExecuteOutcome {
  INT_PTR result = SE_ERR_NOASSOC;
  DWORD error = ERROR_NO_ASSOCIATION;
};

class ShellService {
 public:
  virtual ~ShellService() = default;
  // Called on the caller's thread; must not wait for what it opened.
  virtual ShellExecuteOutcome Execute(const ShellExecuteRequest& request) const = 0;
};

// Null removes the service: every request then fails with SE_ERR_NOASSOC.
void InstallShellService(std::shared_ptr<const ShellService> service);
std::shared_ptr<const ShellService> CurrentShellService();

}  // namespace core
