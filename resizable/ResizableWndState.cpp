#include "resizable/ResizableWndState.h"

#include <string>

#include "resizable/PlacementText.h"

CResizableWndState::~CResizableWndState() = default;

namespace {

// The platform's texts are terminated; the store's helpers work on views.
std::u16string Terminated(const CopiedUString<UTF16>& text) { return std::u16string(text.view()); }

}  // namespace

BOOL CResizableWndState::SavePlacement(LPCWSTR name, BOOL rectOnly) {
  CWnd* host = GetHostWindow();
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!host || !::GetWindowPlacement(host->GetSafeHwnd(), &placement)) return FALSE;
  const PlacementFields fields{placement.rcNormalPosition, placement.showCmd, placement.flags,
                               placement.ptMinPosition};
  const std::u16string value = Terminated(MakePlacementText(fields, rectOnly != FALSE));
  const UStringRef<UTF16> prefix = name ? UStringRef<UTF16>(std::u16string_view(name)) : UStringRef<UTF16>();
  const std::u16string valueName = Terminated(MakePlacementValueName(prefix));
  return WriteStateValue(valueName.c_str(), value.c_str());
}
