// The guide dialog: the HTML dialog that fills the launcher's main window and shows the
// guide page. Its before-navigate hook carries out the page's link commands
// ("openexecutable:", "openfolder:", "openinbrowser:", "close:") and lets the browser load
// every other target.
#pragma once

#include "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.h"

class CTsrRunvaneHtmlDlg : public CMyDHtmlDialog {
 public:
  // parent: the main dialog, whose modal run "close:" ends.
  explicit CTsrRunvaneHtmlDlg(CWnd* parent);
  ~CTsrRunvaneHtmlDlg() override;

  BOOL OnInitDialog() override;
  // The guide is the launcher's own page: its script always runs.
  bool CanRunScript(LPCWSTR url) override;
  // Commands are carried out only for a document loaded from a local file or from memory
  // (and, for a frame's navigation, only when the frame's document is local too); a command
  // from any other page, a command that cannot be decoded safely and a target that is not
  // valid text are cancelled without opening anything. Nothing leaves this hook as an
  // exception: a failure cancels the navigation.
  void OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame, VARIANT* postData,
                         VARIANT* headers, BOOL* cancel) override;

 private:
  bool MayIssueCommands(LPDISPATCH dispatch);
  void EndMainDialog();
};
