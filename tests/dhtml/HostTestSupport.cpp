#include "HostTestSupport.h"

namespace hosttest {

BEGIN_MESSAGE_MAP(OwnerDialog, CDialog)
  ON_MESSAGE(WM_NEXTDLGCTL, &OwnerDialog::OnNextDlgCtl)
  ON_MESSAGE(WM_COMMANDHELP, &OwnerDialog::OnCommandHelp)
END_MESSAGE_MAP()

}  // namespace hosttest
