// tessarin-guide: the launcher on a Linux desktop. It finds the Tessarin installation
// generator in a Wine prefix ($WINEPREFIX, else ~/.wine), the way the generator's Windows
// installer left it, and shows its guide in a GTK window.
//
// Unlike a Windows build, which asks for administrator rights in its manifest, this program
// runs with the rights of the user who starts it: it only reads the prefix.

#include <cstdio>
#include <string>
#include <string_view>

#include "app/GuideCommand.h"
#include "app/LauncherMessage.h"
#include "app/RunLauncher.h"
#include "core/com/BrowserEngine.h"
#include "foundation/FormatTemplate.h"
#include "gtk/GtkServices.h"
#include "posix/PosixServices.h"
#include "posix/ProfileFile.h"
#include "posix/RegistryHiveError.h"

namespace {

// A missing hive means there is no installation to look for; any other failure is a hive that
// is there and cannot be used.
constexpr std::string_view kNoPrefix =
    "The Tsr Installation Generator was not found: the registry of its Wine prefix cannot be read ({error}). "
    "The launcher looks in the prefix that WINEPREFIX names, else in ~/.wine.";
constexpr std::string_view kBrokenHive =
    "The registry of the Wine prefix cannot be read, so the Tsr Installation Generator cannot be looked up: {error}";

// Without a display there is no window to show a message in; standard error is all there is.
int ReportNoDisplay(const std::string& reason) {
  std::fprintf(stderr, "Tessarin Installation Guide: cannot open a window: %s\n", reason.c_str());
  return 1;
}

// The message box also writes its text to standard error as one line.
int ReportUnreadableHive(const posix::RegistryHiveError& error) {
  const std::string_view wording = error.Missing() ? kNoPrefix : kBrokenHive;
  const std::string_view what = error.what();
  ShowLauncherError(Format(wording, {UStringRef<UTF8>(what)}).Ref());
  return 1;
}

}  // namespace

int main() {
  // The display first: every later failure is told in a window.
  std::string reason;
  if (!gtkui::InstallGtkServices(reason)) return ReportNoDisplay(reason);
  // The browser refuses the guide's commands to every page that is not local, before the
  // guide dialog's own check is asked.
  if (const auto engine = core::CurrentBrowserEngine()) engine->SetCommandPrefixes(GuideCommandPrefixes());
  // The application profile is an INI file under XDG_CONFIG_HOME; core keeps none of its own.
  InstallProfileFiles();
  try {
    posix::InstallPosixServices();
  } catch (const posix::RegistryHiveError& error) {
    return ReportUnreadableHive(error);
  }
  return RunLauncher();
}
