// The window-state mix-in: writes the host window's placement as one profile value.
#pragma once

#include "resizable/ResizableState.h"

class CResizableWndState : public CResizableState {
 public:
  // Writes the placement under name + "WindowPlacement"; rectOnly writes the normal rectangle
  // with show state 1 and zeros. FALSE when the placement cannot be read or written.
  BOOL SavePlacement(LPCWSTR name, BOOL rectOnly);

 protected:
  virtual CWnd* GetHostWindow() = 0;

 public:
  ~CResizableWndState() override;
};
