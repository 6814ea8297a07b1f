// Message tables and command routing, and the command user interface.
#include "afxwin.h"

namespace {
const AFX_MSGMAP_ENTRY noEntries[] = {{0, 0, 0, 0, nullptr, nullptr}};
const AFX_MSGMAP rootMap = {nullptr, &noEntries[0]};

bool EntryMatches(const AFX_MSGMAP_ENTRY& entry, UINT message, UINT code, UINT id) {
  if (entry.pRegisteredMessage != nullptr)
    return *entry.pRegisteredMessage != 0 && *entry.pRegisteredMessage == message;
  if (entry.nMessage != message) return false;
  if (message != WM_COMMAND) return true;
  return entry.nCode == code && id >= entry.nID && id <= entry.nLastID;
}
}  // namespace

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() { return &rootMap; }

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry)
      if (EntryMatches(*entry, message, code, id)) return entry;
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
  if (entry == nullptr) return FALSE;
  if (pHandlerInfo != nullptr) return TRUE;  // asked only whether there is a handler
  if (static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI) {
    auto* ui = static_cast<CCmdUI*>(pExtra);
    ui->m_bContinueRouting = FALSE;
    entry->pfn(this, nID, reinterpret_cast<LPARAM>(ui));
    return !ui->m_bContinueRouting;
  }
  entry->pfn(this, nID, 0);
  return TRUE;
}

CCmdUI::CCmdUI()
    : m_nID(0),
      m_nIndex(0),
      m_pOther(nullptr),
      m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE),
      m_bEnabled(TRUE),
      m_nCheck(0) {}

void CCmdUI::Enable(BOOL on) {
  m_bEnabled = on;
  m_bEnableChanged = TRUE;
  if (m_pOther != nullptr) m_pOther->EnableWindow(on);
}

void CCmdUI::SetCheck(int check) { m_nCheck = check; }

void CCmdUI::SetRadio(BOOL on) { m_nCheck = on ? 1 : 0; }

void CCmdUI::SetText(LPCWSTR text) {
  m_strText = text;
  if (m_pOther != nullptr) m_pOther->SetWindowText(text);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  m_bEnableChanged = FALSE;
  const BOOL handled = target->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (!handled && disableIfNoHandler && !m_bEnableChanged) {
    // A command nobody handles cannot be carried out.
    const BOOL hasCommandHandler = target->OnCmdMsg(m_nID, CN_COMMAND, this, this);
    Enable(hasCommandHandler);
  }
  return handled;
}
