#include "resizable/ResizableMinMax.h"

CResizableMinMax::~CResizableMinMax() = default;

void CResizableMinMax::SetMinimumTrackingSize(int width, int height) {
  useMinimumTracking = TRUE;
  minimumTrackingSize = SIZE{width, height};
}

void CResizableMinMax::ApplyTrackingLimits(MINMAXINFO* info) const {
  if (!useMinimumTracking) return;
  info->ptMinTrackSize.x = minimumTrackingSize.cx;
  info->ptMinTrackSize.y = minimumTrackingSize.cy;
}
