// A shell that opens nothing and keeps every request, so that a test can see what the
// launcher asked the shell to open. It answers success, as the machine's shell would for a
// file that exists.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "core/shell/ShellService.h"

class RecordingShell : public core::ShellService {
 public:
  core::ShellExecuteOutcome Execute(const core::ShellExecuteRequest& request) const override {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back(request);
    return {42, 0};
  }

  std::vector<core::ShellExecuteRequest> Requests() const {
    std::lock_guard<std::mutex> guard(lock_);
    return requests_;
  }

  void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.clear();
  }

 private:
  mutable std::mutex lock_;
  mutable std::vector<core::ShellExecuteRequest> requests_;
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
