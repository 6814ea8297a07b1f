// The walk from a window up to the frame window it lies in.
#include "afxwin.h"

CFrameWnd* CWnd::GetParentFrame() const {
  for (HWND window = ::GetParent(m_hWnd); window != nullptr; window = ::GetParent(window))
    if (CWnd* object = FromHandlePermanent(window); object != nullptr && object->IsFrameWnd())
      return static_cast<CFrameWnd*>(object);
  return nullptr;
}
