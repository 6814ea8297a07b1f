// Embedding and in-place activation: the object's side (IOleObject, IOleInPlaceObject) and
// its container's (IOleClientSite, IOleInPlaceSite), both windows' IOleWindow, and the verbs.
// The container's interfaces are declared whole, as a container implements every method;
// of the object's, only what a container here calls. Interfaces that are only passed along
// are declared as names.
#pragma once

#include "objidl.h"
#include "winuser.h"

struct IOleInPlaceActiveObject;
struct IOleContainer;
struct IMoniker;
struct IDropTarget;

// Verbs of IOleObject::DoVerb.
#define OLEIVERB_PRIMARY (0L)
#define OLEIVERB_SHOW (-1L)
#define OLEIVERB_OPEN (-2L)
#define OLEIVERB_HIDE (-3L)
#define OLEIVERB_UIACTIVATE (-4L)
#define OLEIVERB_INPLACEACTIVATE (-5L)
#define OLEIVERB_DISCARDUNDOSTATE (-6L)

enum OLECLOSE {
  OLECLOSE_SAVEIFDIRTY = 0,
  OLECLOSE_NOSAVE = 1,
  OLECLOSE_PROMPTSAVE = 2,
};

// What the container's frame tells an object activated in place.
struct OLEINPLACEFRAMEINFO {
  UINT cb;
  BOOL fMDIApp;
  HWND hwndFrame;
  HACCEL haccel;
  UINT cAccelEntries;
};
typedef OLEINPLACEFRAMEINFO* LPOLEINPLACEFRAMEINFO;

extern const IID IID_IOleWindow;
extern const IID IID_IOleClientSite;
extern const IID IID_IOleInPlaceSite;
extern const IID IID_IOleObject;
extern const IID IID_IOleInPlaceObject;

struct IOleWindow : public IUnknown {
  STDMETHOD(GetWindow)(HWND* phwnd) PURE;
  STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) PURE;
};
TSR_INTERFACE_ID(IOleWindow, IID_IOleWindow);

// The container's document and frame windows an object activated in place may share tools
// and menus with; only held and released here.
struct IOleInPlaceUIWindow : public IOleWindow {};
struct IOleInPlaceFrame : public IOleInPlaceUIWindow {};

struct IOleClientSite : public IUnknown {
  STDMETHOD(SaveObject)() PURE;
  STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) PURE;
  STDMETHOD(GetContainer)(IOleContainer** ppContainer) PURE;
  STDMETHOD(ShowObject)() PURE;
  STDMETHOD(OnShowWindow)(BOOL fShow) PURE;
  STDMETHOD(RequestNewObjectLayout)() PURE;
};
typedef IOleClientSite* LPOLECLIENTSITE;
TSR_INTERFACE_ID(IOleClientSite, IID_IOleClientSite);

// GetWindow answers the window the object's window is to be a child of.
struct IOleInPlaceSite : public IOleWindow {
  // S_OK: the object may activate in place; S_FALSE: it may not.
  STDMETHOD(CanInPlaceActivate)() PURE;
  STDMETHOD(OnInPlaceActivate)() PURE;
  STDMETHOD(OnUIActivate)() PURE;
  // The frame and document windows (may be null), the object's place and clip rectangles in
  // the site window's client coordinates, and the frame's facts.
  STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                              LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) PURE;
  STDMETHOD(Scroll)(SIZE scrollExtant) PURE;
  STDMETHOD(OnUIDeactivate)(BOOL fUndoable) PURE;
  STDMETHOD(OnInPlaceDeactivate)() PURE;
  STDMETHOD(DiscardUndoState)() PURE;
  STDMETHOD(DeactivateAndUndo)() PURE;
  // The object asks for a new place; the container answers with SetObjectRects.
  STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) PURE;
};
TSR_INTERFACE_ID(IOleInPlaceSite, IID_IOleInPlaceSite);

struct IOleObject : public IUnknown {
  // The object asks its questions of the site from then on; null lets the site go.
  STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) PURE;
  STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) PURE;
  // Deactivates the object (its windows go) and lets go of what it holds of its container.
  STDMETHOD(Close)(DWORD dwSaveOption) PURE;
  // OLEIVERB_INPLACEACTIVATE makes the object's window a child of hwndParent (or of the
  // site's window) at lprcPosRect (or where GetWindowContext says).
  STDMETHOD(DoVerb)(LONG iVerb, LPMSG lpmsg, IOleClientSite* pActiveSite, LONG lindex, HWND hwndParent,
                    LPCRECT lprcPosRect) PURE;
};
TSR_INTERFACE_ID(IOleObject, IID_IOleObject);

struct IOleInPlaceObject : public IOleWindow {
  // The object's windows go; the site hears OnInPlaceDeactivate.
  STDMETHOD(InPlaceDeactivate)() PURE;
  STDMETHOD(UIDeactivate)() PURE;
  // The object's new place and clip rectangle, in its parent window's client coordinates.
  STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT lprcClipRect) PURE;
  STDMETHOD(ReactivateAndUndo)() PURE;
};
TSR_INTERFACE_ID(IOleInPlaceObject, IID_IOleInPlaceObject);
