// Windows that contain controls: the control container made on first use, the site each
// control gets, and the control window's own object.
#include "afxocc.h"

BOOL CWnd::CreateControlSite(COleControlContainer*, COleControlSite** site, UINT, REFCLSID) {
  if (site != nullptr) *site = nullptr;
  return FALSE;
}
