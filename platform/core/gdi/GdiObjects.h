// The graphics objects behind HRGN, HFONT and HBITMAP handles. Regions are pixman regions;
// window regions and device-context clipping use them directly.
#pragma once

#include <pixman.h>

#include <windows.h>

// The region of a handle, or null when the handle is no live region.
pixman_region32_t* RegionOf(HRGN region);
// A new, empty region object.
HRGN NewRegionObject();
// A region owned by a window cannot be deleted with DeleteObject; the window frees it.
void SetRegionOwnedByWindow(HRGN region, bool owned);
void FreeRegionObject(HRGN region);
// NULLREGION, SIMPLEREGION or COMPLEXREGION.
int RegionKind(const pixman_region32_t* region);
// The LOGFONTW a font was made from, or null.
const LOGFONTW* FontOf(HFONT font);
