// The size grip: a size-box scroll bar in the host's lower right corner that resizes the
// top-level window when dragged. It never takes the focus and dialog navigation passes over
// it; optionally only its lower right triangle shows and answers the mouse.
#pragma once

#include <afxwin.h>

class CSizeGrip : public CScrollBar {
 public:
  CSizeGrip() = default;
  ~CSizeGrip() override;

  // Gives the grip the triangular window region, or removes it.
  void SetTriangular(BOOL enable);
  BOOL IsTriangular() const { return triangular_; }
  // Width and height in pixels, from the scroll-bar metrics.
  SIZE GripSize() const { return gripSize_; }

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static SIZE MetricsSize();
  void FollowMetrics();

  SIZE gripSize_{0, 0};
  BOOL triangular_ = FALSE;
  // Only a transparent grip draws through these; the grip is always created opaque.
  BOOL transparent_ = FALSE;
  CDC maskDC_;
  CDC imageDC_;
  CBitmap maskBitmap_;
  CBitmap imageBitmap_;
};
