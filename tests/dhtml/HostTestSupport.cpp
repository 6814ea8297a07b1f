#include "HostTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/registry/RegistryHive.h"

namespace hosttest {

BEGIN_MESSAGE_MAP(OwnerDialog, CDialog)
  ON_MESSAGE(WM_NEXTDLGCTL, &OwnerDialog::OnNextDlgCtl)
  ON_MESSAGE(WM_COMMANDHELP, &OwnerDialog::OnCommandHelp)
END_MESSAGE_MAP()

void InstallBrowserVersion(const char16_t* version) {
  auto hive = std::make_shared<core::RegistryHive>();
  const auto key = hive->AddPath(u"Software\\Microsoft\\Internet Explorer");
  if (version != nullptr) hive->SetString(key, u"Version", version);
  core::InstallMachineHive(hive);
  ForgetBrowserVersion();
}

std::string HostSourceLineOf(const std::string& reported) {
  const std::string place = "(MyDHtmlDialog.cpp:";
  const std::size_t at = reported.rfind(place);
  if (at == std::string::npos) return {};
  const int line = std::atoi(reported.c_str() + at + place.size());
  // The test data folder is tests/dhtml/data of the source tree.
  const std::filesystem::path root = std::filesystem::path(TSR_TEST_DATA).parent_path().parent_path().parent_path();
  std::ifstream source(root / "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.cpp");
  std::string text;
  for (int i = 0; i < line; ++i)
    if (!std::getline(source, text)) return {};
  return text;
}

}  // namespace hosttest
