// A shell that opens nothing and keeps every request, so that a test can see what the
// launcher asked the shell to open. It answers success, as the machine's shell would for a
// file that exists.
#pragma once

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
  core::ShellExecuteOutcome Execute(const core::ShellExecuteRequest& request) const override {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back({request.owner, Copy(request.verb), std::u16string(request.file), Copy(request.parameters),
                         Copy(request.directory), request.showCommand});
    return {42, 0};
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
