// Windows that contain controls: the control container made on first use, the site each
// control gets, and the control window's own object.
#include "afxocc.h"

BOOL CWnd::CreateControlSite(COleControlContainer*, COleControlSite** site, UINT, REFCLSID) {
  if (site != nullptr) *site = nullptr;
  return FALSE;
}

BOOL CWnd::InitControlContainer() {
  if (m_pCtrlCont == nullptr) m_pCtrlCont = new COleControlContainer(this);
  return TRUE;
}

void CWnd::DestroyControlContainer() {
  COleControlContainer* container = m_pCtrlCont;
  m_pCtrlCont = nullptr;
  delete container;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (parent == nullptr || parent->m_hWnd == nullptr || m_hWnd != nullptr) return FALSE;
  if (!parent->InitControlContainer()) return FALSE;
  return parent->m_pCtrlCont->CreateControl(this, clsid, windowName, style, rect, id);
}

LPUNKNOWN CWnd::GetControlUnknown() { return m_pCtrlSite != nullptr ? m_pCtrlSite->m_pObject : nullptr; }
