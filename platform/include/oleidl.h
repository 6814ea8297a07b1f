// Interfaces of in-place activation and drag and drop that the browser host's callbacks pass
// along. The system never calls them, so they are declared only as names.
#pragma once

#include "objidl.h"

struct IOleInPlaceActiveObject;
struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct IDropTarget;
