// The launcher's application object: it runs the main window modally and ends the process
// when the window closes. Exactly one exists, built during static initialisation in its own
// unit (app/instance), which only the launcher's executable and the test of the whole
// launcher link.
#pragma once

#include <afxwin.h>

class CTsrRunvaneApp : public CWinApp {
 public:
  CTsrRunvaneApp();
  ~CTsrRunvaneApp() override;

  // Runs the main window until it closes and answers FALSE, so that the framework ends
  // without a message loop of its own. The exit status (ExitInstance) is 0 after a normal
  // close and 1 when the guide could not be shown, which the user is told first (in a box, or
  // in the window in place of the guide).
  BOOL InitInstance() override;
};
