// The text of a saved window placement: eight signed decimal integers separated by commas,
// written under the dialog's name prefix followed by "WindowPlacement".
#pragma once

#include <windows.h>
#include <windef.h>

#include "foundation/CopiedUString.h"

// Fields of a placement that the store writes.
struct PlacementFields {
  RECT normal;       // the restored rectangle, in workspace coordinates
  UINT showCommand;  // SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
  UINT flags;
  POINT minimised;   // where the window's minimised form sits
};

// "left,top,right,bottom,show,flags,minX,minY"; rectOnly writes 1,0,0,0 (SW_SHOWNORMAL, no
// flags, no position) for the last four.
CopiedUString<UTF16> MakePlacementText(const PlacementFields& fields, bool rectOnly);

// The value name: the prefix followed directly by "WindowPlacement".
CopiedUString<UTF16> MakePlacementValueName(UStringRef<UTF16> prefix);
