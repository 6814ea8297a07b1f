// The framework's HTML dialog: a dialog whose content is the web browser control (control
// identifier AFX_IDC_BROWSER), with the browser's events routed through its event sink map,
// the document's events through DHtmlEventHook, and the browser host's questions answered by
// its IDocHostUIHandler methods.
#pragma once

#include "afxdisp.h"
#include "afxocc.h"
#include "atlbase.h"
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <mshtmhst.h>

#define AFX_IDC_BROWSER 102

// Sees every event of the document that the HTML dialog has connected, before the
// framework's own handling of it.
class CDHtmlEventSink {
 public:
  virtual ~CDHtmlEventSink() = default;
  // TRUE: the event is handled and *result is its HRESULT; FALSE: the framework goes on.
  virtual BOOL DHtmlEventHook(HRESULT* result, DISPID dispid, DISPPARAMS* params, VARIANT* varResult,
                              EXCEPINFO* excepInfo, UINT* argErr);
  // The document whose events reach the sink; S_OK with null when there is none.
  virtual HRESULT GetDHtmlDocument(IHTMLDocument2** document) = 0;
};

class CDHtmlDialog : public CDialog, public CDHtmlEventSink {
 public:
  CDHtmlDialog();
  // templateId 0 and htmlResId 0 name no template and no HTML resource.
  explicit CDHtmlDialog(UINT templateId, UINT htmlResId = 0, CWnd* parent = nullptr);
  CDHtmlDialog(LPCWSTR templateName, LPCWSTR htmlResId, CWnd* parent);
  ~CDHtmlDialog() override;

  // Runs the dialog's initialisation, makes the browser control (or adopts one with
  // identifier AFX_IDC_BROWSER that answers IWebBrowser2) and loads the HTML resource, else
  // Navigate(m_strCurrentUrl). When the control cannot be made or does not answer
  // IWebBrowser2, the control's and the dialog's windows are destroyed and m_pBrowserApp
  // stays null. Answers TRUE.
  BOOL OnInitDialog() override;
  // Hands the request to the browser (nothing before OnInitDialog made it); postData is
  // passed as a byte array. The browser raises BeforeNavigate2 before this returns.
  virtual void Navigate(LPCWSTR url, DWORD flags = 0, LPCWSTR targetFrameName = nullptr, LPCWSTR headers = nullptr,
                        LPVOID postData = nullptr, DWORD postDataLength = 0);
  BOOL LoadFromResource(LPCWSTR resource);
  BOOL LoadFromResource(UINT resourceId);
  void GetCurrentUrl(CStringW& url) const { url = m_strCurrentUrl; }

  // The element of the current document with that id: S_OK with the element, E_NOINTERFACE
  // (and null) when there is none or no document.
  HRESULT GetElement(LPCWSTR id, IHTMLElement** element);
  HRESULT GetDHtmlDocument(IHTMLDocument2** document) override;

  // Notifications of the browser's events, for every browser object (the top-level one and
  // each frame's). The top-level browser's before-navigate releases m_spHtmlDoc (with its
  // event connection) and empties m_strCurrentUrl; its navigate-complete takes the document
  // into m_spHtmlDoc, records m_strCurrentUrl and connects the document's events to
  // DHtmlEventHook. Document-complete does nothing here.
  virtual void OnBeforeNavigate(LPDISPATCH dispatch, LPCWSTR url);
  virtual void OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url);
  virtual void OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url);

  // The event sink map's handlers of BeforeNavigate2, NavigateComplete2 and DocumentComplete:
  // each takes the address from URL and calls the notification above. Never cancels.
  void _OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* URL, VARIANT* flags, VARIANT* targetFrameName,
                          VARIANT* postData, VARIANT* headers, BOOL* cancel);
  void _OnNavigateComplete2(LPDISPATCH dispatch, VARIANT* URL);
  void _OnDocumentComplete(LPDISPATCH dispatch, VARIANT* URL);

  // IDocHostUIHandler's questions, asked through the browser control's site.
  // S_FALSE: the browser shows its own context menu.
  STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved);
  // dwFlags = m_dwHostFlags; nothing else is filled in.
  STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo);
  // S_FALSE.
  STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                    IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc);
  // E_NOTIMPL.
  STDMETHOD(HideUI)();
  STDMETHOD(UpdateUI)();
  STDMETHOD(EnableModeless)(BOOL fEnable);
  STDMETHOD(OnDocWindowActivate)(BOOL fActivate);
  STDMETHOD(OnFrameWindowActivate)(BOOL fActivate);
  STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow);
  STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw);
  // S_FALSE: the browser handles the key.
  STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
  // *ppDropTarget = null, E_NOTIMPL.
  STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget);
  // Null out-parameter: E_POINTER; else *out = null and E_NOTIMPL (no external object).
  STDMETHOD(GetExternal)(IDispatch** ppDispatch);
  // Null out-parameter: E_POINTER; else *out = null and S_FALSE (nothing changed).
  STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut);
  STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet);

  // Makes a CBrowserControlSite for the browser control; FALSE (a plain site) for others.
  BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id, REFCLSID clsid) override;
  // Tab arriving at the dialog itself moves the focus into the browser control through its
  // site's SetFocus(msg).
  BOOL PreTranslateMessage(MSG* msg) override;

  CComPtr<IWebBrowser2> m_pBrowserApp;
  CComPtr<IHTMLDocument2> m_spHtmlDoc;
  CStringW m_strCurrentUrl;
  LPWSTR m_szHtmlResID;
  UINT m_nHtmlResID;
  // DOCHOSTUIFLAG bits answered by GetHostInfo; DOCHOSTUIFLAG_NO3DBORDER |
  // DOCHOSTUIFLAG_SCROLL_NO at first.
  DWORD m_dwHostFlags;
  BOOL m_bUseHtmlTitle;
  CWnd m_wndBrowser;

 protected:
  // Whether dispatch is the top-level browser (the same object as m_pBrowserApp).
  BOOL IsTopLevelBrowser(LPDISPATCH dispatch) const;
  afx_msg void OnDestroy();
  // The browser control keeps filling the client area.
  afx_msg void OnSize(UINT type, int cx, int cy);

  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  class DocumentEventSink;
  void ConnectDHtmlEvents(IHTMLDocument2* document);
  void DisconnectDHtmlEvents();
  void ReleaseBrowser();

  DocumentEventSink* documentSink_ = nullptr;
  CComPtr<IUnknown> connectedDocument_;
  DWORD documentCookie_ = 0;
};
