#include "Shared/Windows/MFC/Dialogs/MyDHtmlSite.h"

#include <cstring>

#include <afxpriv.h>
#include <windows.h>
#include <wininet.h>

#include "SdkGaps.h"
#include "WideText.h"
#include "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.h"

namespace {

// A dialog object of the framework, or a window of the dialog manager's class.
bool IsDialogWindow(CWnd* window) {
  if (dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(window->m_hWnd)) != nullptr) return true;
  WCHAR className[16] = {};
  GetClassNameW(window->m_hWnd, className, 16);
  return WStringView(className) == WIDE("#32770");
}

bool IsKeyDown(const MSG& message, WPARAM key) { return message.message == WM_KEYDOWN && message.wParam == key; }

void WritePolicy(BYTE* policy, DWORD value) { std::memcpy(policy, &value, sizeof(value)); }

}  // namespace

MyDHtmlSite::MyDHtmlSite(COleControlContainer* container, CMyDHtmlDialog* owner)
    : CBrowserControlSite(container, owner), owner(owner) {}

MyDHtmlSite::~MyDHtmlSite() = default;

STDMETHODIMP MyDHtmlSite::QueryInterface(REFIID riid, void** ppvObject) { return ExternalQueryInterface(&riid, ppvObject); }
STDMETHODIMP_(ULONG) MyDHtmlSite::AddRef() { return ExternalAddRef(); }
STDMETHODIMP_(ULONG) MyDHtmlSite::Release() { return ExternalRelease(); }

LPUNKNOWN MyDHtmlSite::GetInterfaceHook(const void* iid) {
  const IID& wanted = *static_cast<const IID*>(iid);
  if (wanted == IID_IServiceProvider) return static_cast<IServiceProvider*>(this);
  if (wanted == IID_IInternetSecurityManager) return static_cast<IInternetSecurityManager*>(this);
  if (wanted == IID_IDocHostShowUI) return static_cast<IDocHostShowUI*>(this);
  return nullptr;
}

CWnd* MyDHtmlSite::SetFocus(LPMSG msg) {
  CWnd* previous = CBrowserControlSite::SetFocus(msg);
  if (msg != nullptr && IsKeyDown(*msg, VK_TAB)) {
    CWnd* top = owner->GetTopLevelParent();
    if (top != nullptr && IsDialogWindow(top)) {
      const WPARAM backwards = GetKeyState(VK_SHIFT) < 0 ? 1 : 0;
      top->SendMessage(WM_NEXTDLGCTL, backwards, 0);
    }
  }
  return previous;
}

STDMETHODIMP MyDHtmlSite::TranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD) {
  if (lpMsg == nullptr) return S_FALSE;
  for (CFrameWnd* frame = owner->GetParentFrame(); frame != nullptr; frame = frame->GetParentFrame()) {
    if (frame->IsWindowEnabled() && frame->PreTranslateMessage(lpMsg)) return S_OK;
  }
  if (!IsKeyDown(*lpMsg, VK_F5)) return S_FALSE;
  // A page from memory has no address to reload from.
  if (owner->m_strCurrentUrl.IsEmpty()) return S_OK;
  CWnd* parent = owner->GetParent();
  if (parent != nullptr && parent->PreTranslateMessage(lpMsg)) return S_OK;
  return S_FALSE;
}

STDMETHODIMP MyDHtmlSite::SetSecuritySite(IInternetSecurityMgrSite*) { return INET_E_DEFAULT_ACTION; }
STDMETHODIMP MyDHtmlSite::GetSecuritySite(IInternetSecurityMgrSite**) { return INET_E_DEFAULT_ACTION; }
STDMETHODIMP MyDHtmlSite::MapUrlToZone(LPCWSTR, DWORD*, DWORD) { return INET_E_DEFAULT_ACTION; }
STDMETHODIMP MyDHtmlSite::GetSecurityId(LPCWSTR, BYTE*, DWORD*, DWORD_PTR) { return INET_E_DEFAULT_ACTION; }

STDMETHODIMP MyDHtmlSite::ProcessUrlAction(LPCWSTR pwszUrl, DWORD dwAction, BYTE* pPolicy, DWORD cbPolicy, BYTE*,
                                           DWORD, DWORD, DWORD) {
  // Only a policy the size of a DWORD is ours to write; anything else is the browser's.
  if (cbPolicy != sizeof(DWORD) || pPolicy == nullptr) return INET_E_DEFAULT_ACTION;
  if (dwAction == URLACTION_SCRIPT_RUN) {
    const bool allowed = owner->CanRunScript(pwszUrl);
    WritePolicy(pPolicy, allowed ? URLPOLICY_ALLOW : URLPOLICY_DISALLOW);
    return allowed ? S_OK : S_FALSE;
  }
  if (!owner->permitAllUrlActions) return INET_E_DEFAULT_ACTION;
  WritePolicy(pPolicy, URLPOLICY_ALLOW);
  return S_OK;
}

STDMETHODIMP MyDHtmlSite::QueryCustomPolicy(LPCWSTR, REFGUID, BYTE**, DWORD*, BYTE*, DWORD, DWORD) {
  return INET_E_DEFAULT_ACTION;
}
STDMETHODIMP MyDHtmlSite::SetZoneMapping(DWORD, LPCWSTR, DWORD) { return INET_E_DEFAULT_ACTION; }
STDMETHODIMP MyDHtmlSite::GetZoneMappings(DWORD, IEnumString**, DWORD) { return INET_E_DEFAULT_ACTION; }

STDMETHODIMP MyDHtmlSite::QueryService(REFGUID guidService, REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  // The security callbacks are offered whatever interface the caller names.
  if (guidService == IID_IHttpSecurity) {
    *ppvObject = static_cast<IHttpSecurity*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  if (guidService == SID_SInternetSecurityManager) return QueryInterface(riid, ppvObject);
  return E_NOINTERFACE;
}

STDMETHODIMP MyDHtmlSite::ShowMessage(HWND, LPOLESTR, LPOLESTR, DWORD, LPOLESTR, DWORD, LRESULT*) { return S_FALSE; }

STDMETHODIMP MyDHtmlSite::ShowHelp(HWND, LPOLESTR, UINT, DWORD, POINT, IDispatch*) {
  for (HWND window = ::GetParent(owner->m_hWnd); window != nullptr; window = ::GetParent(window)) {
    if (SendMessageW(window, WM_COMMANDHELP, 0, 0) != 0) return S_OK;
  }
  return S_FALSE;
}

STDMETHODIMP MyDHtmlSite::GetWindow(REFGUID, HWND* phwnd) {
  if (phwnd == nullptr) return E_POINTER;
  *phwnd = owner->m_hWnd;
  return S_OK;
}

STDMETHODIMP MyDHtmlSite::OnSecurityProblem(DWORD dwProblem) {
  switch (dwProblem) {
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
      return owner->OnCertificateError(dwProblem);
    // Revocation that cannot be checked does not stop the page.
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
      return S_OK;
    default:
      return S_FALSE;
  }
}
