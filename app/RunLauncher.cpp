#include "app/RunLauncher.h"

#include <exception>

#include <afxwin.h>

#include "WideText.h"
#include "app/LauncherMessage.h"
#include "app/Resources.h"
#include "foundation/EnableLogsFromEnvironment.h"
#include "foundation/FormatTemplate.h"

namespace {

constexpr std::string_view kUnexpectedFailure = "The installation guide stopped because of an error.\n\n{error}";

// An error that no part of the launcher handled: the user hears of it, the process does not
// crash.
int ReportUnhandled(const std::exception& error) {
  const CopiedUString<UTF8> text = ErrorText(error);
  ShowLauncherError(Format(UStringRef<UTF8>(kUnexpectedFailure), {text.Ref()}).Ref());
  return 1;
}

}  // namespace

int RunLauncher() {
  RegisterApplicationResources();
  // Once per process: a second sink for the same logs would write every line twice.
  static const std::shared_ptr<LogSink> logs = EnableLogsFromEnvironment();
  // The launcher takes no command-line options.
  static WCHAR commandLine[] = WIDE("");
  try {
    return AfxWinMain(nullptr, nullptr, commandLine, SW_SHOWDEFAULT);
  } catch (const std::exception& error) {
    return ReportUnhandled(error);
  }
}
