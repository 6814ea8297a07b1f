// The tracking-size mix-in: how small the user can drag the window.
#pragma once

#include <windows.h>

class CResizableMinMax {
 public:
  CResizableMinMax() = default;
  virtual ~CResizableMinMax();

  void SetMinimumTrackingSize(int width, int height);
  // The minimum tracking size becomes ours when one is set; the rest stays as proposed.
  void ApplyTrackingLimits(MINMAXINFO* info) const;

 protected:
  BOOL useMinimumTracking = FALSE;
  SIZE minimumTrackingSize{0, 0};
};
