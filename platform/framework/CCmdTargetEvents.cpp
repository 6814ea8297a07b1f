// Event sink maps: a contained control's event goes to the first entry for its control and
// dispatch identifier, looking in the class's own map before its bases'.
#include "afxdisp.h"

namespace {
const AFX_EVENTSINKMAP_ENTRY noEventEntries[] = {{0, 0, 0, nullptr, nullptr}};
const AFX_EVENTSINKMAP rootEventSinkMap = {nullptr, &noEventEntries[0]};

bool EntryMatches(const AFX_EVENTSINKMAP_ENTRY& entry, UINT idCtrl, DISPID dispid) {
  return entry.dispid == dispid && idCtrl >= entry.nCtrlIDFirst && idCtrl <= entry.nCtrlIDLast;
}
}  // namespace

const AFX_EVENTSINKMAP* CCmdTarget::GetThisEventSinkMap() { return &rootEventSinkMap; }

const AFX_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const { return GetThisEventSinkMap(); }

BOOL CCmdTarget::OnEvent(UINT idCtrl, AFX_EVENT* pEvent, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (pEvent == nullptr || pEvent->m_eventKind != AFX_EVENT::event) return FALSE;
  for (const AFX_EVENTSINKMAP* map = GetEventSinkMap(); map != nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_EVENTSINKMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
      if (!EntryMatches(*entry, idCtrl, pEvent->m_dispid)) continue;
      if (pHandlerInfo != nullptr) return TRUE;  // asked only whether there is a handler
      // A handler that answers FALSE leaves the event to the entries that follow.
      if (entry->pfn(this, pEvent)) return TRUE;
    }
  }
  return FALSE;
}
