#include "app/TsrRunvaneHtmlDlg.h"

#include <string_view>

#include "app/GuideCommand.h"
#include "foundation/ReportRequirementFailure.h"

namespace {

// The browser's current document address. A browser that cannot tell has no local document.
bool ShowsLocalDocument(IWebBrowser2* browser) {
  CComBSTR location;
  if (browser == nullptr || FAILED(browser->get_LocationURL(&location))) return false;
  return IsLocalDocumentAddress(UStringRef<UTF16>(location.m_str, location.Length()));
}

}  // namespace

CTsrRunvaneHtmlDlg::CTsrRunvaneHtmlDlg(CWnd* parent) : CMyDHtmlDialog(parent) { permitAllUrlActions = true; }

CTsrRunvaneHtmlDlg::~CTsrRunvaneHtmlDlg() = default;

BOOL CTsrRunvaneHtmlDlg::OnInitDialog() {
  CMyDHtmlDialog::OnInitDialog();
  return TRUE;
}

bool CTsrRunvaneHtmlDlg::CanRunScript(LPCWSTR) { return true; }

void CTsrRunvaneHtmlDlg::OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                           VARIANT* postData, VARIANT* headers, BOOL* cancel) {
  try {
    const GuideCommand command = ReadGuideCommand(NavigationTargetOf(url));
    if (command.kind == GuideCommand::Load) {
      // The framework's standard handling; cancel stays as the browser set it.
      _OnBeforeNavigate2(dispatch, url, flags, targetFrame, postData, headers, cancel);
      return;
    }
    // A command is never loaded as an address, whether or not it is carried out.
    *cancel = TRUE;
    if (command.kind == GuideCommand::Refused || !MayIssueCommands(dispatch)) return;
    if (command.kind == GuideCommand::Open)
      OpenInShell(command);
    else
      EndMainDialog();
  } catch (...) {
    // The browser called us directly; nothing may leave towards it.
    ReportRequirementFailure(__FILE__, __LINE__, "guide link handled");
    *cancel = TRUE;
  }
}

// m_strCurrentUrl would not do: the framework empties it at the start of every top-level
// navigation, so a page being left would count as local while the next one loads.
bool CTsrRunvaneHtmlDlg::MayIssueCommands(LPDISPATCH dispatch) {
  if (!ShowsLocalDocument(m_pBrowserApp)) return false;
  // A navigation that names no browser has no asker to vouch for.
  if (dispatch == nullptr) return false;
  if (IsTopLevelBrowser(dispatch)) return true;
  // A frame's own navigation: its document asks, so it must be local as well. A frame the
  // browser cannot place has no address, and is refused with it.
  CComQIPtr<IWebBrowser2> frame(dispatch);
  return ShowsLocalDocument(frame);
}

void CTsrRunvaneHtmlDlg::EndMainDialog() {
  const HWND parent = ::GetParent(m_hWnd);
  // The framework's dialog ends its own modal loop; a plain dialog window ends the platform's.
  if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(parent)))
    dialog->EndDialog(IDCANCEL);
  else
    ::EndDialog(parent, IDCANCEL);
}
