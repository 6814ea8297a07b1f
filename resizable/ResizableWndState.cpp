#include "resizable/ResizableWndState.h"

#include <string>

#include "WideText.h"
#include "resizable/PlacementText.h"

CResizableWndState::~CResizableWndState() = default;

namespace {

// The platform's texts are terminated; the store's helpers work on views.
WString Terminated(const CopiedUString<UTF16>& text) { return WString(text.view()); }

}  // namespace

BOOL CResizableWndState::SavePlacement(LPCWSTR name, BOOL rectOnly) {
  CWnd* host = GetHostWindow();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!host || !::GetWindowPlacement(host->GetSafeHwnd(), &placement)) return FALSE;
  const PlacementFields fields{placement.rcNormalPosition, placement.showCmd, placement.flags,
                               placement.ptMinPosition};
  const WString value = Terminated(MakePlacementText(fields, rectOnly != FALSE));
  const UStringRef<UTF16> prefix = name ? UStringRef<UTF16>(WStringView(name)) : UStringRef<UTF16>();
  const WString valueName = Terminated(MakePlacementValueName(prefix));
  return WriteStateValue(valueName.c_str(), value.c_str());
}
