// Doubles of the machine for the host's tests: a shell that records what it was asked to
// open, and files that exist only by name. Both write to one journal, so that a test sees
// the order in which the host asked.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "core/kernel/FileAttributeSource.h"
#include "support/RecordingShell.h"

namespace hostdoubles {

inline std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
  return out;
}

struct Journal {
  std::vector<std::string> entries;
};

// Records "attributes <path>"; the paths in `existing` are files, the rest are missing.
class NamedFiles : public core::FileAttributeSource {
 public:
  NamedFiles(std::shared_ptr<Journal> journal, std::set<std::u16string> existing)
      : journal_(std::move(journal)), existing_(std::move(existing)) {}
  DWORD Attributes(std::u16string_view path, DWORD& error) const override {
    journal_->entries.push_back("attributes " + Narrow(path));
    if (existing_.count(std::u16string(path)) != 0) return FILE_ATTRIBUTE_NORMAL;
    error = ERROR_FILE_NOT_FOUND;
    return INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::shared_ptr<Journal> journal_;
  std::set<std::u16string> existing_;
};

// Installs both doubles for the lifetime of the object, and takes them away again.
class Machine {
 public:
  explicit Machine(INT_PTR shellResult = 42, std::set<std::u16string> existing = {u"C:\\Existing.html"})
      : journal(std::make_shared<Journal>()) {
    // Each request as "shell <verb|default> <file> show=<n>" and what else it carried.
    core::InstallShellService(std::make_shared<RecordingShell>(shellResult, [journal = journal](const RecordedRequest& r) {
      journal->entries.push_back("shell " + (r.verb ? Narrow(*r.verb) : std::string("default")) + " " + Narrow(r.file) +
                                 " show=" + std::to_string(r.showCommand) + (r.owner ? " owner" : "") +
                                 (r.parameters ? " params" : "") + (r.directory ? " dir" : ""));
    }));
    core::InstallFileAttributeSource(std::make_shared<NamedFiles>(journal, std::move(existing)));
  }
  ~Machine() {
    core::InstallShellService(nullptr);
    core::InstallFileAttributeSource(nullptr);
  }
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  std::vector<std::string> Take() {
    std::vector<std::string> entries = std::move(journal->entries);
    journal->entries.clear();
    return entries;
  }

  std::shared_ptr<Journal> journal;
};

}  // namespace hostdoubles
