// The browser control's site in a CMyDHtmlDialog: the object through which the browser asks
// its host about URL actions, services, help, certificate problems and keys. It answers most
// questions itself and passes script permission and certificate errors to its dialog.
#pragma once

#include <afxocc.h>
#include <windows.h>
#include <mshtmhst.h>
#include <servprov.h>
#include <urlmon.h>

class CMyDHtmlDialog;

class MyDHtmlSite : public CBrowserControlSite,
                    public IInternetSecurityManager,
                    public IServiceProvider,
                    public IDocHostShowUI,
                    public IHttpSecurity {
 public:
  MyDHtmlSite(COleControlContainer* container, CMyDHtmlDialog* owner);
  ~MyDHtmlSite() override;

  // One identity for every interface: the platform site's reference count and lookup.
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // IServiceProvider, IInternetSecurityManager and IDocHostShowUI are this site's own; the
  // rest is the platform site's. IHttpSecurity is reached only through QueryService.
  LPUNKNOWN GetInterfaceHook(const void* iid) override;
  // Tab onto the browser control asks the top-level dialog to move the focus on.
  CWnd* SetFocus(LPMSG msg) override;

  // IDocHostUIHandler: the frames above the dialog see each key first; F5 is swallowed for
  // a page from memory and offered to the dialog's parent otherwise.
  STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;

  // IInternetSecurityManager: only ProcessUrlAction decides; the rest is the browser's.
  STDMETHOD(SetSecuritySite)(IInternetSecurityMgrSite* pSite) override;
  STDMETHOD(GetSecuritySite)(IInternetSecurityMgrSite** ppSite) override;
  STDMETHOD(MapUrlToZone)(LPCWSTR pwszUrl, DWORD* pdwZone, DWORD dwFlags) override;
  STDMETHOD(GetSecurityId)(LPCWSTR pwszUrl, BYTE* pbSecurityId, DWORD* pcbSecurityId, DWORD_PTR dwReserved) override;
  STDMETHOD(ProcessUrlAction)(LPCWSTR pwszUrl, DWORD dwAction, BYTE* pPolicy, DWORD cbPolicy, BYTE* pContext,
                              DWORD cbContext, DWORD dwFlags, DWORD dwReserved) override;
  STDMETHOD(QueryCustomPolicy)(LPCWSTR pwszUrl, REFGUID guidKey, BYTE** ppPolicy, DWORD* pcbPolicy, BYTE* pContext,
                               DWORD cbContext, DWORD dwReserved) override;
  STDMETHOD(SetZoneMapping)(DWORD dwZone, LPCWSTR lpszPattern, DWORD dwFlags) override;
  STDMETHOD(GetZoneMappings)(DWORD dwZone, IEnumString** ppenumString, DWORD dwFlags) override;

  // IServiceProvider.
  STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

  // IDocHostShowUI: the browser shows its own messages; help goes to the first window above
  // the dialog that takes WM_COMMANDHELP.
  STDMETHOD(ShowMessage)(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType, LPOLESTR lpstrHelpFile,
                         DWORD dwHelpContext, LRESULT* plResult) override;
  STDMETHOD(ShowHelp)(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData, POINT ptMouse,
                      IDispatch* pDispatchObjectHit) override;

  // IWindowForBindingUI and IHttpSecurity.
  STDMETHOD(GetWindow)(REFGUID rguidReason, HWND* phwnd) override;
  STDMETHOD(OnSecurityProblem)(DWORD dwProblem) override;

  // The dialog that made the site; never null.
  CMyDHtmlDialog* const owner;
};
