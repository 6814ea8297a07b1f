// Command groups and command numbers of the HTML editor and the browser.
#pragma once

#include "windef.h"

// The HTML editor's commands (IOleCommandTarget of a document, or WM_COMMAND to the window of
// class "Internet Explorer_Server").
extern const GUID CGID_MSHTML;
#define IDM_COPY 15
#define IDM_CUT 16
#define IDM_PASTE 26
#define IDM_SELECTALL 31
#define IDM_FIND 67

// The browser's own commands; Exec of command 1 on a document opens the find dialog.
extern const GUID CGID_IWebBrowser;
