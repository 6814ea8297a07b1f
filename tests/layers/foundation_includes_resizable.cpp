// Planted: foundation including a layer above it, which it does not link.
#include "resizable/LayoutGeometry.h"
