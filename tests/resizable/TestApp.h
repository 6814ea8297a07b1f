// The application object whose profile the state store writes to; made on first use.
#pragma once

#include <afxwin.h>

inline CWinApp& TestApp() {
  static CWinApp app(u"test_resizable");
  return app;
}
