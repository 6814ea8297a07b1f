#include "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.h"

#include <algorithm>
#include <string_view>

#include <windows.h>
#include <docobj.h>
#include <exdispid.h>
#include <mshtmcid.h>
#include <mshtmdid.h>
#include <ocidl.h>

#include "SdkGaps.h"
#include "WideText.h"
#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "Shared/Windows/MFC/Dialogs/ComResult.h"
#include "Shared/Windows/MFC/Dialogs/DataReaderStream.h"
#include <afxres.h>
#include "Shared/Windows/MFC/Dialogs/MessageFontStyle.h"
#include "resizable/SystemMessageFont.h"
#include "Shared/Windows/MFC/Dialogs/MyDHtmlSite.h"
#include "Shared/Windows/MFC/Dialogs/NavigationPolicy.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/ConstDataReader.h"
#include "foundation/FormatTemplate.h"
#include "foundation/ReportRequirementFailure.h"
#include "foundation/TextEncoding.h"

namespace {

// Requirement-failure reports name a fixed place, so that their log lines stay the same
// whatever edits move the code in this file.
constexpr const char* kReportFile = "Shared/Windows/MFC/Dialogs/MyDHtmlDialog";
constexpr int kBeforeNavigateReportLine = 199;
constexpr int kDocumentCompleteReportLine = 330;

constexpr std::string_view kUndisplayablePage =
    "<div class='section'><p>One or more value contains undisplayable character.</p><br/><p>{msg}</p></div>";

// The browser's find dialog, in the browser's own command group.
constexpr DWORD kBrowserFindCommand = 1;

UStringRef<UTF16> TextOf(LPCWSTR text) {
  return text != nullptr ? UStringRef<UTF16>(WStringView(text)) : UStringRef<UTF16>();
}

CComBSTR MakeBstr(UStringRef<UTF16> text) {
  CComBSTR result;
  result.Attach(SysAllocStringLen(text.data() != nullptr ? text.data() : WIDE(""), static_cast<UINT>(text.size())));
  return result;
}

CComBSTR MakeBstr(WStringView text) { return MakeBstr(UStringRef<UTF16>(text)); }

// An element's text as a BSTR; text that cannot be shown becomes a page that says so.
CComBSTR ElementHtml(UStringRef<UTF8> html) {
  try {
    return MakeBstr(TranscodeU8ToU16(html));
  } catch (const WindowsCharacterSetResult& failure) {
    const std::string description = failure.Describe();
    const CopiedUString<UTF8> page = Format(MakeFormatTemplate(UStringRef<UTF8>(kUndisplayablePage)),
                                            {UStringRef<UTF8>(std::string_view(description))});
    return MakeBstr(TranscodeU8ToU16(page));
  }
}

struct PageWindowSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindPageWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<PageWindowSearch*>(lParam);
  search->found = FindWindowExW(window, nullptr, WIDE("Internet Explorer_Server"), nullptr);
  return search->found == nullptr;
}

}  // namespace

BEGIN_MESSAGE_MAP(CMyDHtmlDialog, CDHtmlDialog)
  ON_WM_ERASEBKGND()
  ON_COMMAND(ID_EDIT_COPY, &CMyDHtmlDialog::OnEditCopy)
  ON_COMMAND(ID_EDIT_CUT, &CMyDHtmlDialog::OnEditCut)
  ON_COMMAND(ID_EDIT_PASTE, &CMyDHtmlDialog::OnEditPaste)
  ON_COMMAND(ID_EDIT_FIND, &CMyDHtmlDialog::OnEditFind)
  ON_COMMAND(ID_EDIT_SELECT_ALL, &CMyDHtmlDialog::OnEditSelectAll)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, &CMyDHtmlDialog::OnUpdateEditCopy)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, &CMyDHtmlDialog::OnUpdateEditCut)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, &CMyDHtmlDialog::OnUpdateEditPaste)
  ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, &CMyDHtmlDialog::OnUpdateEditFind)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, &CMyDHtmlDialog::OnUpdateEditSelectAll)
END_MESSAGE_MAP()

// Both are called through the virtual table, so a subclass's override takes the event.
BEGIN_EVENTSINK_MAP(CMyDHtmlDialog, CDHtmlDialog)
  ON_EVENT(CMyDHtmlDialog, AFX_IDC_BROWSER, DISPID_BEFORENAVIGATE2, OnBeforeNavigate2,
           VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
  ON_EVENT(CMyDHtmlDialog, AFX_IDC_BROWSER, DISPID_NAVIGATEERROR, OnNavigateError,
           VTS_DISPATCH VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PBOOL)
END_EVENTSINK_MAP()

CMyDHtmlDialog::CMyDHtmlDialog(CWnd* parent) : CDHtmlDialog(0u, 0u, parent) {
  // Themed form controls; the body style brings back the scroll bars the base flags remove.
  m_dwHostFlags |= DOCHOSTUIFLAG_THEME;
  EventSignal(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEWHEEL).connect(&CMyDHtmlDialog::BlockShiftWheel);
}

CMyDHtmlDialog::~CMyDHtmlDialog() = default;

// ---- Navigation ---------------------------------------------------------------------------

void CMyDHtmlDialog::Navigate(LPCWSTR url, DWORD flags, LPCWSTR targetFrame, LPCWSTR headers, LPVOID postData,
                              DWORD postDataLength) {
  if (!m_pBrowserApp) return;
  try {
    m_pBrowserApp->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
    // Only a check: an address that is not valid UTF-16 is not navigated to.
    TranscodeU16ToU8(TextOf(url));
    CDHtmlDialog::Navigate(url, flags, targetFrame, headers, postData, postDataLength);
  } catch (...) {
    // The caller learns nothing; the browser simply did not navigate.
  }
}

void CMyDHtmlDialog::Navigate(UStringRef<UTF8> url, DWORD flags, LPCWSTR targetFrame, LPCWSTR headers,
                              LPVOID postData, DWORD postDataLength) {
  const TerminatedU16 wide = MakeTerminatedU16(TranscodeU8ToU16(url));
  Navigate(wide.c_str(), flags, targetFrame, headers, postData, postDataLength);
}

UStringRef<UTF16> CMyDHtmlDialog::NavigationTargetOf(const VARIANT* url) {
  while (url != nullptr && url->vt == (VT_BYREF | VT_VARIANT)) url = url->pvarVal;
  if (url == nullptr) return {};
  if (url->vt == VT_BSTR && url->bstrVal != nullptr) return UStringRef<UTF16>(url->bstrVal, SysStringLen(url->bstrVal));
  if (url->vt == (VT_BYREF | VT_BSTR) && url->pbstrVal != nullptr && *url->pbstrVal != nullptr)
    return UStringRef<UTF16>(*url->pbstrVal, SysStringLen(*url->pbstrVal));
  return {};
}

void CMyDHtmlDialog::OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                       VARIANT* postData, VARIANT* headers, BOOL* cancel) {
  const CopiedUString<UTF8> target = TranscodeU16ToU8(NavigationTargetOf(url));
  const auto cancelNavigation = [cancel] {
    if (cancel != nullptr) *cancel = TRUE;
  };
  bool listenersCancel = false;
  try {
    listenersCancel = beforeNavigateSignal(target.Ref());
  } catch (...) {
    ReportRequirementFailure(kReportFile, kBeforeNavigateReportLine, "false");
    cancelNavigation();
    return;
  }
  if (listenersCancel) {
    cancelNavigation();
    return;
  }
  // Without a current document (the first navigation, or one that starts before the last
  // completed) the browser loads whatever it was asked for.
  if (!m_spHtmlDoc) {
    _OnBeforeNavigate2(dispatch, url, flags, targetFrame, postData, headers, cancel);
    return;
  }
  switch (DecideNavigation(target)) {
    case NavigationAction::HandedToShell:
      cancelNavigation();
      return;
    case NavigationAction::LoadInPlace:
      _OnBeforeNavigate2(dispatch, url, flags, targetFrame, postData, headers, cancel);
      return;
    case NavigationAction::OpenInNewWindow: {
      const TerminatedU16 wide = MakeTerminatedU16(TranscodeU8ToU16(target));
      Navigate(wide.c_str(), 0, WIDE("_blank"), nullptr, nullptr, 0);
      cancelNavigation();
      return;
    }
  }
}

void CMyDHtmlDialog::OnNavigateError(LPDISPATCH, VARIANT*, VARIANT*, VARIANT*, BOOL*) {}

// ---- Initialisation and the dialog's quiet answers ------------------------------------------

BOOL CMyDHtmlDialog::OnInitDialog() {
  if (m_strCurrentUrl.IsEmpty()) m_strCurrentUrl = WIDE("about:blank");
  // The platform's initialisation makes the browser and loads the page through this class's
  // Navigate; when the browser cannot be made it destroys the window and leaves
  // m_pBrowserApp null.
  const BOOL result = CDHtmlDialog::OnInitDialog();
  if (m_pBrowserApp) m_pBrowserApp->put_RegisterAsDropTarget(VARIANT_FALSE);
  return result;
}

void CMyDHtmlDialog::OnOK() {}
void CMyDHtmlDialog::OnCancel() {}

BOOL CMyDHtmlDialog::OnEraseBkgnd(CDC*) { return TRUE; }

STDMETHODIMP CMyDHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

BOOL CMyDHtmlDialog::CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT, REFCLSID) {
  if (site == nullptr) return FALSE;
  *site = new MyDHtmlSite(container, this);
  return TRUE;
}

bool CMyDHtmlDialog::CanRunScript(LPCWSTR url) {
  try {
    return scriptPermissionSignal(url);
  } catch (...) {
    return false;
  }
}

HRESULT CMyDHtmlDialog::OnCertificateError(DWORD) { return S_FALSE; }

// ---- Documents and their events -----------------------------------------------------------

CComPtr<IHTMLDocument2> CMyDHtmlDialog::QueryDocument() {
  if (!m_pBrowserApp) return nullptr;
  CComPtr<IWebBrowser2> browser;
  HRESULT result = m_pBrowserApp->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
  if (result == E_NOINTERFACE) return nullptr;
  CheckComResult(result);
  CComPtr<IDispatch> document;
  CheckComResult(browser->get_Document(&document));
  if (!document) return nullptr;
  CComPtr<IHTMLDocument2> htmlDocument;
  result = document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&htmlDocument));
  if (result == E_NOINTERFACE) return nullptr;
  CheckComResult(result);
  return htmlDocument;
}

CMyDHtmlDialog::DocumentEventSignal& CMyDHtmlDialog::EventSignal(DISPID dispatchId) {
  return eventSignals.try_emplace(dispatchId).first->second;
}

CComPtr<IHTMLEventObj> CMyDHtmlDialog::CurrentEvent() {
  const CComPtr<IHTMLDocument2> document = QueryDocument();
  if (!document) RaiseComError(E_POINTER);
  CComPtr<IHTMLWindow2> window;
  CheckComResult(document->get_parentWindow(&window));
  if (!window) RaiseComError(E_POINTER);
  CComPtr<IHTMLEventObj> event;
  CheckComResult(window->get_event(&event));
  return event;
}

BOOL CMyDHtmlDialog::DHtmlEventHook(HRESULT* result, DISPID dispid, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  // The browser calls this directly: every failure becomes E_FAIL, nothing is raised.
  try {
    const CComPtr<IHTMLEventObj> event = CurrentEvent();
    const auto found = eventSignals.find(dispid);
    if (found == eventSignals.end()) return FALSE;
    if (!found->second(event)) return FALSE;
    if (!event) RaiseComError(E_POINTER);
    VARIANT cancelDefault;
    VariantInit(&cancelDefault);
    cancelDefault.vt = VT_BOOL;
    cancelDefault.boolVal = VARIANT_FALSE;
    CheckComResult(event->put_returnValue(cancelDefault));
    if (result != nullptr) *result = S_OK;
    return TRUE;
  } catch (...) {
    if (result != nullptr) *result = E_FAIL;
    return FALSE;
  }
}

bool CMyDHtmlDialog::BlockShiftWheel(CComPtr<IHTMLEventObj> event) {
  if (!event) RaiseComError(E_POINTER);
  VARIANT_BOOL shift = VARIANT_FALSE;
  CheckComResult(event->get_shiftKey(&shift));
  return shift != VARIANT_FALSE;
}

// ---- Page styling -------------------------------------------------------------------------

void CMyDHtmlDialog::OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url) {
  if (IsBrowserVersionAtLeast7()) StyleBody();
  // Only while no document is held does the platform take the new one; a frame's
  // navigate-complete leaves the top-level document where it is.
  if (!m_spHtmlDoc) CDHtmlDialog::OnNavigateComplete(dispatch, url);
}

void CMyDHtmlDialog::StyleBody() {
  const CComPtr<IHTMLDocument2> document = QueryDocument();
  if (!document) RaiseComError(E_POINTER);
  // First among the sheets, so that the page's own sheets override it.
  CComPtr<IHTMLStyleSheet> sheet;
  CheckComResult(document->createStyleSheet(MakeBstr(WStringView()), 0, &sheet));
  const CopiedUString<UTF8> style = MessageFontStyle(SystemMessageFont());
  if (!sheet) RaiseComError(E_POINTER);
  LONG index = 0;
  CheckComResult(sheet->addRule(MakeBstr(WStringView(WIDE("body"))), MakeBstr(TranscodeU8ToU16(style)), 0, &index));
}

// ---- Edit commands ------------------------------------------------------------------------

void CMyDHtmlDialog::SendEditCommand(UINT browserCommand) {
  // Without a window there is no page window below it to look for.
  if (m_hWnd == nullptr) return;
  PageWindowSearch search;
  EnumChildWindows(m_hWnd, &FindPageWindow, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr) ::SendMessageW(search.found, WM_COMMAND, browserCommand, 0);
}

void CMyDHtmlDialog::OnEditCopy() { SendEditCommand(IDM_COPY); }
void CMyDHtmlDialog::OnEditCut() { SendEditCommand(IDM_CUT); }
void CMyDHtmlDialog::OnEditPaste() { SendEditCommand(IDM_PASTE); }

void CMyDHtmlDialog::OnEditFind() {
  const CComPtr<IHTMLDocument2> document = QueryDocument();
  if (!document) RaiseComError(E_POINTER);
  CComPtr<IOleCommandTarget> target;
  document->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target));
  if (!target) RaiseComError(E_POINTER);
  target->Exec(&CGID_IWebBrowser, kBrowserFindCommand, 0, nullptr, nullptr);
}

void CMyDHtmlDialog::OnEditSelectAll() {
  const CComPtr<IHTMLDocument2> document = QueryDocument();
  if (!document) RaiseComError(E_POINTER);
  VARIANT missing;
  VariantInit(&missing);
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  VARIANT_BOOL done = VARIANT_FALSE;
  CheckComResult(document->execCommand(MakeBstr(WStringView(WIDE("SelectAll"))), VARIANT_FALSE, missing, &done));
}

bool CMyDHtmlDialog::IsCommandEnabled(LPCWSTR command) {
  try {
    const CComPtr<IHTMLDocument2> document = QueryDocument();
    if (!document) return false;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    if (FAILED(document->queryCommandEnabled(MakeBstr(TextOf(command)), &enabled))) return false;
    return enabled == VARIANT_TRUE;
  } catch (...) {
    return false;
  }
}

void CMyDHtmlDialog::OnUpdateEditCopy(CCmdUI* ui) { ui->Enable(IsCommandEnabled(WIDE("Copy"))); }
void CMyDHtmlDialog::OnUpdateEditCut(CCmdUI* ui) { ui->Enable(IsCommandEnabled(WIDE("Cut"))); }
void CMyDHtmlDialog::OnUpdateEditPaste(CCmdUI* ui) { ui->Enable(IsCommandEnabled(WIDE("Paste"))); }
void CMyDHtmlDialog::OnUpdateEditSelectAll(CCmdUI* ui) { ui->Enable(IsCommandEnabled(WIDE("SelectAll"))); }

void CMyDHtmlDialog::OnUpdateEditFind(CCmdUI* ui) {
  bool hasDocument = false;
  try {
    hasDocument = QueryDocument() != nullptr;
  } catch (...) {
  }
  ui->Enable(hasDocument);
}

// ---- Pages from memory and element content ------------------------------------------------

void CMyDHtmlDialog::SetHtml(ConstByteRange bytes, bool reload) { LoadHtml(bytes, reload); }

void CMyDHtmlDialog::LoadHtml(ConstByteRange bytes, bool reload) {
  const bool same = bytes.size() == htmlContent.size() && std::equal(bytes.begin, bytes.end, htmlContent.begin());
  if (same && !reload) return;
  if (!same) htmlContent.assign(bytes.begin, bytes.end);
  // Until the first document exists the bytes wait for it.
  if (!firstDocumentCompleted) return;
  if (!m_pBrowserApp) return;
  CComPtr<IDispatch> document;
  if (FAILED(m_pBrowserApp->get_Document(&document)) || !document) return;
  CComPtr<IPersistStreamInit> persist;
  if (FAILED(document->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) || !persist) return;

  // Held in a local reference: the notifications below may release the dialog's own.
  const CComPtr<IWebBrowser2> browser = m_pBrowserApp;
  OnBeforeNavigate(browser, WIDE(""));
  ConstDataReader reader(bytes);
  DataReaderStream stream(reader);
  persist->Load(&stream);
  OnNavigateComplete(browser, WIDE(""));
}

void CMyDHtmlDialog::OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url) {
  CDHtmlDialog::OnDocumentComplete(dispatch, url);
  if (!firstDocumentCompleted) {
    firstDocumentCompleted = true;
    if (!htmlContent.empty()) LoadHtml(ConstByteRange(htmlContent.data(), htmlContent.size()), true);
  } else if (!elementContentApplied) {
    elementContentApplied = true;
    ApplyElementContent();
  }
  try {
    documentCompleteSignal();
  } catch (...) {
    ReportRequirementFailure(kReportFile, kDocumentCompleteReportLine, "false");
  }
}

void CMyDHtmlDialog::ApplyElementContent() {
  for (const auto& [id, html] : elementContent) WriteElementHtml(id, html);
}

void CMyDHtmlDialog::WriteElementHtml(UStringRef<UTF8> id, UStringRef<UTF8> html) {
  const TerminatedU16 wideId = MakeTerminatedU16(TranscodeU8ToU16(id));
  CComPtr<IHTMLElement> element;
  GetElement(wideId.c_str(), &element);
  if (!element) return;
  element->put_innerHTML(ElementHtml(html));
}

void CMyDHtmlDialog::SetElementHtml(UStringRef<UTF8> id, UStringRef<UTF8> html) {
  elementContent.insert_or_assign(CopiedUString<UTF8>(id), CopiedUString<UTF8>(html));
  // The page that took the stored texts is up already: this one goes in at once.
  if (elementContentApplied) WriteElementHtml(id, html);
}
