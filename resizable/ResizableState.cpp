#include "resizable/ResizableState.h"
#include "WideText.h"

LPCWSTR ResizableStateSection() { return WIDE("ResizableState"); }

CResizableState::CResizableState() : stateSection(ResizableStateSection()) {}

CResizableState::~CResizableState() = default;

BOOL CResizableState::ReadStateValue(LPCWSTR name, CStringW& text) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  text = app->GetProfileStringW(stateSection, name, nullptr);
  return !text.IsEmpty();
}

BOOL CResizableState::WriteStateValue(LPCWSTR name, LPCWSTR text) {
  CWinApp* app = AfxGetApp();
  if (!app) return FALSE;
  return app->WriteProfileStringW(stateSection, name, text);
}
