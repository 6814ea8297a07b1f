#include "HostTestSupport.h"

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

}  // namespace hosttest
