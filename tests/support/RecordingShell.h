// A shell that opens nothing and keeps every request, so that a test can see what it was asked
// to open. It answers success by default, as the machine's shell would for a file that
// exists, or the result a test gives it; a listener sees each request as it comes, so that a
// test may put it in order with what other doubles were asked.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/shell/ShellService.h"

// A request with its texts copied, as the shell saw it.
struct RecordedRequest {
  HWND owner = nullptr;
  std::optional<std::u16string> verb;
  std::u16string file;
  std::optional<std::u16string> parameters;
  std::optional<std::u16string> directory;
  INT showCommand = 0;
};

class RecordingShell : public core::ShellService {
 public:
  using Listener = std::function<void(const RecordedRequest&)>;

  // A result above 32 is a success; any other fails with ERROR_FILE_NOT_FOUND.
  explicit RecordingShell(INT_PTR result = 42, Listener listener = {})
      : result_(result), listener_(std::move(listener)) {}

  core::ShellExecuteOutcome Execute(const core::ShellExecuteRequest& request) const override {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back({request.owner, Copy(request.verb), std::u16string(request.file), Copy(request.parameters),
                         Copy(request.directory), request.showCommand});
    if (listener_) listener_(requests_.back());
    return {result_, result_ > 32 ? 0u : static_cast<DWORD>(ERROR_FILE_NOT_FOUND)};
  }

  std::vector<RecordedRequest> Requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
  }

  void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.clear();
  }

 private:
  mutable std::mutex lock_;
  static std::optional<std::u16string> Copy(const std::optional<std::u16string_view>& text) {
    if (!text) return std::nullopt;
    return std::u16string(*text);
  }

  const INT_PTR result_;
  const Listener listener_;
  mutable std::vector<RecordedRequest> requests_;
};

// Installs a new recording shell for the scope and removes it again.
class ScopedRecordingShell {
 public:
  ScopedRecordingShell() : shell_(std::make_shared<RecordingShell>()) { core::InstallShellService(shell_); }
  ~ScopedRecordingShell() { core::InstallShellService(nullptr); }
  ScopedRecordingShell(const ScopedRecordingShell&) = delete;
  ScopedRecordingShell& operator=(const ScopedRecordingShell&) = delete;

  RecordingShell& operator*() const { return *shell_; }
  RecordingShell* operator->() const { return shell_.get(); }

 private:
  std::shared_ptr<RecordingShell> shell_;
};
