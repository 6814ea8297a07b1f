// The machine's shell behind ShellExecuteW. Addresses ("https:...", "mailto:...") go to the
// desktop's default application for their scheme; a platform path is mapped into the host's
// file system; a folder or document goes to the default application for its content type; a
// program with the execute bit runs directly; a Windows program (.exe, .com, .msi, .bat, .cmd) runs
// through wine on the same prefix. Nothing is waited for.
//
// Like the platform's shell, a request that cannot be carried out is explained to the user
// in an error box, captioned with the name of what was asked for ("Open" when none was
// given), that names the platform path and the host path behind it.
#pragma once

#include <memory>
#include <string>

#include "core/kernel/PathMapping.h"
#include "core/shell/ShellService.h"

namespace posix {

class PosixShell : public core::ShellService {
 public:
  // `prefix` is the Wine prefix that `mapping` maps into; programs that wine runs get it as
  // WINEPREFIX.
  PosixShell(std::string prefix, std::shared_ptr<const core::PathMapping> mapping);

  // The verb may be null, "open" or "explore" (any letter case; explore takes folders only);
  // others fail with SE_ERR_NOASSOC. Parameters are split into arguments for programs and
  // ignored for documents, folders and addresses. The directory (a platform path) is the
  // program's working folder; without one, the program's own folder is. The show command
  // is left to the desktop.
  core::ShellExecuteOutcome Execute(const core::ShellExecuteRequest& request) const override;

  // What ShellExecuteW answers when something was opened: any value above 32 means success,
  // and this is the one the platform's shell gives.
  static constexpr INT_PTR kOpened = 42;

 private:
  std::string prefix_;
  std::shared_ptr<const core::PathMapping> mapping_;
};

}  // namespace posix
