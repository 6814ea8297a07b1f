// Containing controls: the window's control container and the site of each control in it,
// and the browser control's site, which answers the browser's host questions
// (IDocHostUIHandler) through its dialog.
#pragma once

#include <vector>

#include "afxwin.h"
#include <windows.h>
#include <mshtmhst.h>

class CDHtmlDialog;

// One per window that contains controls; owns their sites and destroys them with itself.
class COleControlContainer : public CCmdTarget {
 public:
  explicit COleControlContainer(CWnd* window);
  ~COleControlContainer() override;

  // Asks m_pWnd's CreateControlSite for the site (a plain COleControlSite when it gives
  // none), then makes the control in it. FALSE when either fails; the site is then gone.
  BOOL CreateControl(CWnd* wndCtrl, REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT& rect, UINT id,
                     COleControlSite** siteOut = nullptr);
  // The site of the control with that identifier, or null.
  COleControlSite* FindItem(UINT id) const;

  CWnd* m_pWnd;
  std::vector<COleControlSite*> m_sites;  // in creation order
};

// The container's end of one control: the control's window and identity, the site's COM
// identity (one reference count for all its interfaces), and the event sink that hands the
// control's events to the container window's event sink map.
//
// A derived site adds interfaces by deriving from them and answering them in GetInterfaceHook;
// its QueryInterface, AddRef and Release are the site's ExternalQueryInterface, ExternalAddRef
// and ExternalRelease. The reference count does not decide the site's life: the container
// destroys it.
class COleControlSite : public CCmdTarget {
 public:
  explicit COleControlSite(COleControlContainer* container);
  // Unhooks the control from the site and releases it.
  ~COleControlSite() override;

  // Makes the control clsid with its window as a child of the container's window, connects
  // its events and attaches wndCtrl to its window.
  virtual HRESULT CreateControl(CWnd* wndCtrl, REFCLSID clsid, LPCWSTR windowName, DWORD style, const RECT* rect,
                                UINT id);
  // The control is given the focus through dialog navigation; msg is the key message that
  // moved it (may be null). Answers the window that had the focus before.
  virtual CWnd* SetFocus(LPMSG msg);

  // Consulted first by every interface lookup of the site; null: the site's own interfaces.
  virtual LPUNKNOWN GetInterfaceHook(const void* iid);
  // GetInterfaceHook, then the site's own interfaces; no reference added.
  LPUNKNOWN GetInterface(const void* iid);
  HRESULT ExternalQueryInterface(const void* iid, LPVOID* object);
  ULONG ExternalAddRef();
  ULONG ExternalRelease();

  HWND m_hWnd;
  UINT m_nID;
  CWnd* m_pWndCtrl;
  LPUNKNOWN m_pObject;  // the control (one reference held)
  COleControlContainer* m_pCtrlCont;
  ULONG m_dwRef;

 protected:
  // The site's own interfaces (the platform's interface table): IUnknown here.
  virtual LPUNKNOWN GetOwnInterface(const IID& iid);

 private:
  class Identity;
  class EventSink;
  Identity* identity_;
  EventSink* eventSink_;
  DWORD eventCookie_;
};

// The browser control's site: IDocHostUIHandler, each method passed to the dialog's method of
// the same name. A derived site may replace single methods by overriding them.
class CBrowserControlSite : public COleControlSite, public IDocHostUIHandler {
 public:
  CBrowserControlSite(COleControlContainer* container, CDHtmlDialog* handler);
  ~CBrowserControlSite() override;

  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
  STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
  STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                    IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
  STDMETHOD(HideUI)() override;
  STDMETHOD(UpdateUI)() override;
  STDMETHOD(EnableModeless)(BOOL fEnable) override;
  STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
  STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
  STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) override;
  STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
  STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw) override;
  STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
  STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
  STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
  STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

  CDHtmlDialog* m_pHandler;

 protected:
  // IDocHostUIHandler, then the plain site's.
  LPUNKNOWN GetOwnInterface(const IID& iid) override;
};
