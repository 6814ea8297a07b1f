// What the browser asks of its host: the document host's user interface (IDocHostUIHandler)
// and its message and help boxes (IDocHostShowUI).
#pragma once

#include "docobj.h"
#include "oleidl.h"
#include "winuser.h"

#define CONTEXT_MENU_DEFAULT 0
#define CONTEXT_MENU_IMAGE 1
#define CONTEXT_MENU_CONTROL 2
#define CONTEXT_MENU_TABLE 3
#define CONTEXT_MENU_TEXTSELECT 4
#define CONTEXT_MENU_ANCHOR 5
#define CONTEXT_MENU_UNKNOWN 6

enum DOCHOSTUIFLAG {
  DOCHOSTUIFLAG_DIALOG = 0x1,
  DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x2,
  DOCHOSTUIFLAG_NO3DBORDER = 0x4,
  DOCHOSTUIFLAG_SCROLL_NO = 0x8,
  DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE = 0x10,
  DOCHOSTUIFLAG_OPENNEWWIN = 0x20,
  DOCHOSTUIFLAG_DISABLE_OFFSCREEN = 0x40,
  DOCHOSTUIFLAG_FLAT_SCROLLBAR = 0x80,
  DOCHOSTUIFLAG_DIV_BLOCKDEFAULT = 0x100,
  DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY = 0x200,
  DOCHOSTUIFLAG_THEME = 0x40000,
  DOCHOSTUIFLAG_NOTHEME = 0x80000,
  DOCHOSTUIFLAG_DPI_AWARE = 0x40000000,
};

enum DOCHOSTUIDBLCLK {
  DOCHOSTUIDBLCLK_DEFAULT = 0,
  DOCHOSTUIDBLCLK_SHOWPROPERTIES = 1,
  DOCHOSTUIDBLCLK_SHOWCODE = 2,
};

struct DOCHOSTUIINFO {
  ULONG cbSize;
  DWORD dwFlags;
  DWORD dwDoubleClick;
  OLECHAR* pchHostCss;
  OLECHAR* pchHostNS;
};

extern const IID IID_IDocHostUIHandler;
extern const IID IID_IDocHostShowUI;

struct IDocHostUIHandler : public IUnknown {
  // S_OK: the host showed (or suppressed) the menu; S_FALSE: the browser shows its own.
  STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) PURE;
  // The host fills in dwFlags (DOCHOSTUIFLAG bits) and may fill in the rest.
  STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) PURE;
  STDMETHOD(ShowUI)(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                    IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) PURE;
  STDMETHOD(HideUI)() PURE;
  STDMETHOD(UpdateUI)() PURE;
  STDMETHOD(EnableModeless)(BOOL fEnable) PURE;
  STDMETHOD(OnDocWindowActivate)(BOOL fActivate) PURE;
  STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) PURE;
  STDMETHOD(ResizeBorder)(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) PURE;
  // Asked for each key message before the browser handles it; S_OK: the host took it.
  STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) PURE;
  STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dw) PURE;
  STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) PURE;
  STDMETHOD(GetExternal)(IDispatch** ppDispatch) PURE;
  STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) PURE;
  STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) PURE;
};
TSR_INTERFACE_ID(IDocHostUIHandler, IID_IDocHostUIHandler);

struct IDocHostShowUI : public IUnknown {
  // S_OK: the host showed the message (and set *plResult); S_FALSE: the browser shows it.
  STDMETHOD(ShowMessage)(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption, DWORD dwType, LPOLESTR lpstrHelpFile,
                         DWORD dwHelpContext, LRESULT* plResult) PURE;
  // S_OK: the host showed help; S_FALSE: the browser shows its own.
  STDMETHOD(ShowHelp)(HWND hwnd, LPOLESTR pszHelpFile, UINT uCommand, DWORD dwData, POINT ptMouse,
                      IDispatch* pDispatchObjectHit) PURE;
};
TSR_INTERFACE_ID(IDocHostShowUI, IID_IDocHostShowUI);
