#include "app/TsrRunvaneHtmlDlg.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "WideText.h"
#include "app/GuideCommand.h"
#include "app/GuidePageFailure.h"
#include "app/LauncherMessage.h"
#include "foundation/TextEncoding.h"
#include "foundation/ReportRequirementFailure.h"

namespace {

// The browser's current document address. A browser that cannot tell has no local document.
bool ShowsLocalDocument(IWebBrowser2* browser) {
  CComBSTR location;
  if (browser == nullptr || FAILED(browser->get_LocationURL(&location))) return false;
  return IsLocalDocumentAddress(UStringRef<UTF16>(location.m_str, location.Length()));
}

// The navigate-error status, by reference or not.
LONG StatusOf(const VARIANT* status) {
  while (status != nullptr && status->vt == (VT_BYREF | VT_VARIANT)) status = status->pvarVal;
  return status != nullptr && status->vt == VT_I4 ? status->lVal : 0;
}

}  // namespace

CTsrRunvaneHtmlDlg::CTsrRunvaneHtmlDlg(CWnd* parent) : CMyDHtmlDialog(parent) { permitAllUrlActions = true; }

CTsrRunvaneHtmlDlg::~CTsrRunvaneHtmlDlg() = default;

BOOL CTsrRunvaneHtmlDlg::OnInitDialog() {
  CMyDHtmlDialog::OnInitDialog();
  return TRUE;
}

bool CTsrRunvaneHtmlDlg::CanRunScript(LPCWSTR) { return true; }

void CTsrRunvaneHtmlDlg::ShowGuide(UStringRef<UTF8> page) {
  guidePage_ = CopiedUString<UTF8>(page);
  if (std::optional<CopiedUString<UTF8>> failure = FindGuidePageFailure(page)) {
    ShowPageFailure(std::move(*failure));
    return;
  }
  Navigate(page);
}

void CTsrRunvaneHtmlDlg::OnNavigateError(LPDISPATCH dispatch, VARIANT* url, VARIANT*, VARIANT* statusCode,
                                         BOOL* cancel) {
  try {
    if (guidePage_.empty() || (dispatch != nullptr && !IsTopLevelBrowser(dispatch))) return;
    const CopiedUString<UTF8> address = TranscodeU16ToU8(NavigationTargetOf(url));
    if (!NamesGuidePage(address.Ref(), guidePage_.Ref())) return;
    if (cancel != nullptr) *cancel = TRUE;
    ShowPageFailure(DescribeGuidePageLoadFailure(guidePage_.Ref(), StatusOf(statusCode)));
  } catch (...) {
    // The browser called us directly; its own error page stays.
    ReportRequirementFailure(__FILE__, __LINE__, "guide load failure handled");
  }
}

void CTsrRunvaneHtmlDlg::ShowPageFailure(CopiedUString<UTF8> message) {
  WriteLauncherLine(message.Ref());
  const std::string html = GuidePageFailureHtml(message.Ref());
  pageFailure_ = std::move(message);
  const auto* bytes = reinterpret_cast<const unsigned char*>(html.data());
  SetHtml(ConstByteRange(bytes, bytes + html.size()), true);
  // Stored bytes wait for the first document; when the guide's navigation ended the blank
  // page's load before it completed, there is none, so the blank page comes once more.
  if (!firstDocumentCompleted) Navigate(WIDE("about:blank"));
}

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
