#include "resizable/ResizableDialog.h"

namespace {
constexpr DWORD kNotMaximised = 1;
}

CResizableDialog::CResizableDialog(UINT templateId, CWnd* parent) : CUIFontDialog(templateId, parent) {}

CResizableDialog::~CResizableDialog() = default;

BEGIN_MESSAGE_MAP(CResizableDialog, CUIFontDialog)
  ON_WM_GETMINMAXINFO()
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
  ON_WM_NCCREATE()
  ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CResizableDialog::OnInitDialog() {
  CUIFontDialog::OnInitDialog();
  return TRUE;
}

BOOL CResizableDialog::OnNcCreate(LPCREATESTRUCT cs) {
  if (!Default()) return FALSE;
  const bool topLevel = (cs->style & WS_CHILD) == 0;
  if (!CreateGrip(topLevel, TRUE)) return FALSE;
  // The size as created, before the sizing border thickens the frame.
  if (topLevel) SetMinimumTrackingSize(cs->cx, cs->cy);
  MakeResizableFrame(cs);
  return TRUE;
}

int CResizableDialog::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }

void CResizableDialog::OnSize(UINT type, int, int) {
  Default();
  if (type == SIZE_MAXSHOW || type == SIZE_MAXHIDE) return;
  if (type == SIZE_MAXIMIZED) {
    RemoveGripShowReason(gripTempState, kNotMaximised);
  } else {
    AddGripShowReason(gripTempState, kNotMaximised);
  }
  PositionGrip();
  ApplyLayout();
}

void CResizableDialog::OnGetMinMaxInfo(MINMAXINFO* info) { ApplyTrackingLimits(info); }

BOOL CResizableDialog::OnEraseBkgnd(CDC* dc) {
  ClipForErase(dc->GetSafeHdc());
  return static_cast<BOOL>(Default());
}

void CResizableDialog::OnDestroy() {
  if (saveOnDestroy) SavePlacement(stateName, saveRectOnly);
  ClearLayout();
  CUIFontDialog::OnDestroy();
}
