// ShellExecuteW over the installed shell service.
#include "shellapi.h"

#include "core/kernel/InstalledService.h"
#include "core/shell/ShellService.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

namespace {
InstalledService<const ShellService> installedShell;

std::optional<std::u16string_view> OptionalText(LPCWSTR text) {
  if (text == nullptr) return std::nullopt;
  return std::u16string_view(text);
}
}  // namespace

void InstallShellService(std::shared_ptr<const ShellService> service) {
  installedShell.Install(std::move(service));
}

std::shared_ptr<const ShellService> CurrentShellService() { return installedShell.Current(); }

}  // namespace core

HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand) {
  core::ShellExecuteOutcome outcome;
  if (std::shared_ptr<const core::ShellService> shell = core::CurrentShellService()) {
    core::ShellExecuteRequest request;
    request.owner = owner;
    request.verb = core::OptionalText(verb);
    // The platform takes a null file as an empty name; the shell then has nothing to open.
    request.file = file != nullptr ? std::u16string_view(file) : std::u16string_view();
    request.parameters = core::OptionalText(parameters);
    request.directory = core::OptionalText(directory);
    request.showCommand = showCommand;
    outcome = shell->Execute(request);
  }
  if (outcome.result <= 32) SetLastError(outcome.error);
  return reinterpret_cast<HINSTANCE>(outcome.result);
}
