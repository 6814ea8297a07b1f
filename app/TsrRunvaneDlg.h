// The launcher's main window: a resizable dialog whose whole client area is the guide dialog.
#pragma once

#include "app/TsrRunvaneHtmlDlg.h"
#include "foundation/CopiedUString.h"
#include "resizable/ResizableDialog.h"

class CTsrRunvaneDlg : public CResizableDialog {
 public:
  // The thread's focus window, when there is one, becomes the parent in place of `parent`.
  explicit CTsrRunvaneDlg(CWnd* parent = nullptr);
  ~CTsrRunvaneDlg() override;

  // Puts the guide dialog where the placeholder was, anchors it to all four sides, navigates
  // it to the guide page (or shows why that page cannot be shown) and sets the window icon.
  // When the guide page cannot be located the run ends at once (IDABORT) and
  // GuideLookupFailure() says why.
  BOOL OnInitDialog() override;

  // After the run: the message for the user when the guide page could not be located; empty
  // otherwise.
  const CopiedUString<UTF8>& GuideLookupFailure() const { return guideLookupFailure_; }
  // The message the window showed in place of the guide page, which was located but could not
  // be shown; empty otherwise.
  const CopiedUString<UTF8>& GuidePageFailure() const { return guide_.PageFailure(); }

 private:
  RECT TakePlaceholderRect();
  void SetWindowIcon();

  CTsrRunvaneHtmlDlg guide_;
  CopiedUString<UTF8> guideLookupFailure_;
};
