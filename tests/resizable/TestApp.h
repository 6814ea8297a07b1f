// The application object whose profile the state store writes to; made on first use.
#pragma once

#include <afxwin.h>

#include "WideText.h"

inline CWinApp& TestApp() {
  static CWinApp app(WIDE("test_resizable"));
  return app;
}
