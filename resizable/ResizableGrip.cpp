#include "resizable/ResizableGrip.h"

CResizableGrip::~CResizableGrip() = default;

BOOL CResizableGrip::CreateGrip(BOOL visible, BOOL triangular) {
  const SIZE size = grip_.GripSize();
  if (!grip_.Create(WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, CRect(0, 0, size.cx, size.cy), GetHostWindow(), 0))
    return FALSE;
  grip_.SetTriangular(triangular);
  showCount_ = visible ? 1 : 0;
  if (grip_.m_hWnd) PositionGrip();
  return TRUE;
}

void CResizableGrip::PositionGrip() {
  if (!grip_.m_hWnd) return;
  RECT client{};
  ::GetClientRect(GetHostWindow()->GetSafeHwnd(), &client);
  const SIZE size = grip_.GripSize();
  const UINT show = showCount_ > 0 ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  // At the bottom of the z-order, so that a control over the corner covers the grip.
  ::SetWindowPos(grip_.m_hWnd, HWND_BOTTOM, client.right - size.cx, client.bottom - size.cy, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | show);
}

void CResizableGrip::AddGripShowReason(DWORD& stateBits, DWORD mask) {
  if ((stateBits & mask) != 0) return;
  ++showCount_;
  stateBits |= mask;
}

void CResizableGrip::RemoveGripShowReason(DWORD& stateBits, DWORD mask) {
  if ((stateBits & mask) == 0) return;
  --showCount_;
  stateBits &= ~mask;
}
