// The controls of one window: each gets a site from the window's CreateControlSite (or a
// plain one), and the container destroys the sites with itself.
#include "afxocc.h"

#include <algorithm>

COleControlContainer::COleControlContainer(CWnd* window) : m_pWnd(window) {}

COleControlContainer::~COleControlContainer() {
  // The newest first, so that a site never outlives one made before it.
  while (!m_sites.empty()) {
    COleControlSite* site = m_sites.back();
    m_sites.pop_back();
    delete site;
  }
}

BOOL COleControlContainer::CreateControl(CWnd* wndCtrl, REFCLSID clsid, LPCWSTR windowName, DWORD style,
                                         const RECT& rect, UINT id, COleControlSite** siteOut) {
  if (siteOut != nullptr) *siteOut = nullptr;
  COleControlSite* site = nullptr;
  if (!m_pWnd->CreateControlSite(this, &site, id, clsid) || site == nullptr) site = new COleControlSite(this);
  m_sites.push_back(site);
  if (FAILED(site->CreateControl(wndCtrl, clsid, windowName, style, &rect, id))) {
    m_sites.erase(std::find(m_sites.begin(), m_sites.end(), site));
    delete site;
    return FALSE;
  }
  if (siteOut != nullptr) *siteOut = site;
  return TRUE;
}

COleControlSite* COleControlContainer::FindItem(UINT id) const {
  for (COleControlSite* site : m_sites)
    if (site->m_nID == id && site->m_pObject != nullptr) return site;
  return nullptr;
}
