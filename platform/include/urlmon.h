// URL security: the security manager the browser asks about URL actions, and the window and
// security callbacks of a download (IWindowForBindingUI, IHttpSecurity).
#pragma once

#include "unknwn.h"
#include "wininet.h"
#include "wtypes.h"

#define INET_E_DEFAULT_ACTION ((HRESULT)0x800C0011L)

// URL actions (ProcessUrlAction's dwAction).
#define URLACTION_MIN 0x1000
#define URLACTION_DOWNLOAD_SIGNED_ACTIVEX 0x1001
#define URLACTION_ACTIVEX_RUN 0x1200
#define URLACTION_SCRIPT_MIN 0x1400
#define URLACTION_SCRIPT_RUN 0x1400
#define URLACTION_SCRIPT_JAVA_USE 0x1402
#define URLACTION_SCRIPT_SAFE_ACTIVEX 0x1405
#define URLACTION_HTML_SUBMIT_FORMS 0x1601
#define URLACTION_HTML_JAVA_RUN 0x1605

// Policies (the 4-byte DWORD ProcessUrlAction writes).
#define URLPOLICY_ALLOW 0x00
#define URLPOLICY_QUERY 0x01
#define URLPOLICY_DISALLOW 0x03

#define PUAF_DEFAULT 0x00000000

struct IInternetSecurityMgrSite;  // only passed through
struct IEnumString;               // only passed through

extern const IID IID_IInternetSecurityManager;
extern const IID IID_IWindowForBindingUI;
extern const IID IID_IHttpSecurity;
// The service under which a host offers its security manager: the interface's own identifier.
#define SID_SInternetSecurityManager IID_IInternetSecurityManager

struct IInternetSecurityManager : public IUnknown {
  STDMETHOD(SetSecuritySite)(IInternetSecurityMgrSite* pSite) PURE;
  STDMETHOD(GetSecuritySite)(IInternetSecurityMgrSite** ppSite) PURE;
  STDMETHOD(MapUrlToZone)(LPCWSTR pwszUrl, DWORD* pdwZone, DWORD dwFlags) PURE;
  STDMETHOD(GetSecurityId)(LPCWSTR pwszUrl, BYTE* pbSecurityId, DWORD* pcbSecurityId, DWORD_PTR dwReserved) PURE;
  // Writes the policy for the action to pPolicy (cbPolicy bytes); INET_E_DEFAULT_ACTION leaves
  // the decision to the browser's own security manager.
  STDMETHOD(ProcessUrlAction)(LPCWSTR pwszUrl, DWORD dwAction, BYTE* pPolicy, DWORD cbPolicy, BYTE* pContext,
                              DWORD cbContext, DWORD dwFlags, DWORD dwReserved) PURE;
  STDMETHOD(QueryCustomPolicy)(LPCWSTR pwszUrl, REFGUID guidKey, BYTE** ppPolicy, DWORD* pcbPolicy, BYTE* pContext,
                               DWORD cbContext, DWORD dwReserved) PURE;
  STDMETHOD(SetZoneMapping)(DWORD dwZone, LPCWSTR lpszPattern, DWORD dwFlags) PURE;
  STDMETHOD(GetZoneMappings)(DWORD dwZone, IEnumString** ppenumString, DWORD dwFlags) PURE;
};
TSR_INTERFACE_ID(IInternetSecurityManager, IID_IInternetSecurityManager);

struct IWindowForBindingUI : public IUnknown {
  STDMETHOD(GetWindow)(REFGUID rguidReason, HWND* phwnd) PURE;
};
TSR_INTERFACE_ID(IWindowForBindingUI, IID_IWindowForBindingUI);

struct IHttpSecurity : public IWindowForBindingUI {
  // S_OK: go on despite the problem; S_FALSE: the browser decides (here: it stops);
  // E_ABORT: stop.
  STDMETHOD(OnSecurityProblem)(DWORD dwProblem) PURE;
};
TSR_INTERFACE_ID(IHttpSecurity, IID_IHttpSecurity);
