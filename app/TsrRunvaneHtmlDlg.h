// The guide dialog: the HTML dialog that fills the launcher's main window and shows the
// guide page. Its before-navigate hook carries out the page's link commands
// ("openexecutable:", "openfolder:", "openinbrowser:", "close:") and lets the browser load
// every other target.
#pragma once

#include "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.h"
#include "foundation/CopiedUString.h"

class CTsrRunvaneHtmlDlg : public CMyDHtmlDialog {
 public:
  // parent: the main dialog, whose modal run "close:" ends.
  explicit CTsrRunvaneHtmlDlg(CWnd* parent);
  ~CTsrRunvaneHtmlDlg() override;

  BOOL OnInitDialog() override;

  // Navigates to the guide page, or, when it cannot be shown (GuidePageFailure.h), shows a
  // page of its own that says which file and why, and writes the same text to standard
  // error. A later failure of the browser to load the page is told the same way.
  void ShowGuide(UStringRef<UTF8> page);
  // The message shown in place of the guide; empty while the guide could be shown.
  const CopiedUString<UTF8>& PageFailure() const { return pageFailure_; }

  // The guide is the launcher's own page: its script always runs.
  bool CanRunScript(LPCWSTR url) override;
  // Commands are carried out only for a document loaded from a local file or from memory
  // (and, for a frame's navigation, only when the frame's document is local too); a command
  // from any other page, a command that cannot be decoded safely and a target that is not
  // valid text are cancelled without opening anything. Nothing leaves this hook as an
  // exception: a failure cancels the navigation.
  void OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                         VARIANT* headers, BOOL* cancel) override;
  // A failed load of the guide page itself replaces the browser's error page by the
  // launcher's own message; other failures keep the browser's page.
  void OnNavigateError(LPDISPATCH dispatch, VARIANT* url, VARIANT* frame, VARIANT* statusCode, BOOL* cancel) override;

 private:
  bool MayIssueCommands(LPDISPATCH dispatch);
  void EndMainDialog();
  void ShowPageFailure(CopiedUString<UTF8> message);

  CopiedUString<UTF8> guidePage_;
  CopiedUString<UTF8> pageFailure_;
};
