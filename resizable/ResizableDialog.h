// A dialog whose fixed-frame template becomes a window the user can resize: a sizing border
// that keeps the client size, a minimum tracking size, a size grip in the lower right corner,
// anchored controls rearranged on every size change, an erase that spares the controls, and
// an optional save of the placement when the window is destroyed.
#pragma once

#include "WideText.h"
#include "resizable/ResizableGrip.h"
#include "resizable/ResizableLayout.h"
#include "resizable/ResizableMinMax.h"
#include "resizable/ResizableWndState.h"
#include "resizable/UIFontDialog.h"

class CResizableDialog : public CUIFontDialog,
                         public CResizableLayout,
                         public CResizableGrip,
                         public CResizableMinMax,
                         public CResizableWndState {
 public:
  CResizableDialog(UINT templateId, CWnd* parent = nullptr);
  ~CResizableDialog() override;

  BOOL OnInitDialog() override;

  // Turns saving on: on WM_DESTROY the placement goes under name + "WindowPlacement".
  void EnableSaveOnDestroy(LPCWSTR name, BOOL rectOnly = FALSE) {
    stateName = name ? name : WIDE("");
    saveRectOnly = rectOnly;
    saveOnDestroy = TRUE;
  }

 protected:
  // Every mix-in lays out, grips and stores this dialog's own window.
  CWnd* GetHostWindow() override { return this; }

  afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs);
  afx_msg int OnCreate(LPCREATESTRUCT cs);

  // Show reasons of the grip that follow the window state; bit 1: not maximised.
  DWORD gripTempState = 1;
  BOOL saveOnDestroy = FALSE;
  BOOL saveRectOnly = FALSE;
  CStringW stateName;

  DECLARE_MESSAGE_MAP()
};
