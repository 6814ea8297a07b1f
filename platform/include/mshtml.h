// The HTML document object model as the browser control hands it out: documents, their
// window, the current event, elements and style sheets.
#pragma once

#include "oaidl.h"
#include "mshtmdid.h"

struct IHTMLDocument2;
struct IHTMLElement;
struct IHTMLEventObj;
struct IHTMLStyleSheet;
struct IHTMLWindow2;

extern const IID IID_IHTMLDocument;
extern const IID IID_IHTMLDocument2;
extern const IID IID_IHTMLDocument3;
extern const IID IID_IHTMLWindow2;
extern const IID IID_IHTMLEventObj;
extern const IID IID_IHTMLElement;
extern const IID IID_IHTMLStyleSheet;
// The document's events' interface; sinks get IDispatch::Invoke with the DISPIDs of mshtmdid.h.
extern const IID DIID_HTMLDocumentEvents2;

struct IHTMLDocument : public IDispatch {
  STDMETHOD(get_Script)(IDispatch** p) PURE;
};
TSR_INTERFACE_ID(IHTMLDocument, IID_IHTMLDocument);

struct IHTMLDocument2 : public IHTMLDocument {
  STDMETHOD(get_title)(BSTR* p) PURE;
  STDMETHOD(get_URL)(BSTR* p) PURE;
  // cmdID names an editing command ("Copy", "Cut", "Paste", "SelectAll" ...).
  STDMETHOD(queryCommandEnabled)(BSTR cmdID, VARIANT_BOOL* pfRet) PURE;
  STDMETHOD(execCommand)(BSTR cmdID, VARIANT_BOOL showUI, VARIANT value, VARIANT_BOOL* pfRet) PURE;
  STDMETHOD(get_parentWindow)(IHTMLWindow2** p) PURE;
  // A new style sheet at lIndex among the document's sheets (-1: last); bstrHref may be empty.
  STDMETHOD(createStyleSheet)(BSTR bstrHref, LONG lIndex, IHTMLStyleSheet** ppnewStyleSheet) PURE;
};
TSR_INTERFACE_ID(IHTMLDocument2, IID_IHTMLDocument2);

struct IHTMLDocument3 : public IDispatch {
  // Null (and S_OK) when no element has the id.
  STDMETHOD(getElementById)(BSTR v, IHTMLElement** pel) PURE;
};
TSR_INTERFACE_ID(IHTMLDocument3, IID_IHTMLDocument3);

// The platform derives it from the frames collection; the system uses none of that.
struct IHTMLWindow2 : public IDispatch {
  STDMETHOD(get_document)(IHTMLDocument2** p) PURE;
  // The event being delivered now; null between events.
  STDMETHOD(get_event)(IHTMLEventObj** p) PURE;
};
TSR_INTERFACE_ID(IHTMLWindow2, IID_IHTMLWindow2);

struct IHTMLEventObj : public IDispatch {
  STDMETHOD(get_srcElement)(IHTMLElement** p) PURE;
  STDMETHOD(get_altKey)(VARIANT_BOOL* p) PURE;
  STDMETHOD(get_ctrlKey)(VARIANT_BOOL* p) PURE;
  STDMETHOD(get_shiftKey)(VARIANT_BOOL* p) PURE;
  // A VT_BOOL VARIANT_FALSE cancels the event's default action.
  STDMETHOD(put_returnValue)(VARIANT v) PURE;
  STDMETHOD(get_returnValue)(VARIANT* p) PURE;
  STDMETHOD(put_cancelBubble)(VARIANT_BOOL v) PURE;
  STDMETHOD(get_cancelBubble)(VARIANT_BOOL* p) PURE;
  STDMETHOD(get_type)(BSTR* p) PURE;
};
TSR_INTERFACE_ID(IHTMLEventObj, IID_IHTMLEventObj);

struct IHTMLElement : public IDispatch {
  STDMETHOD(get_id)(BSTR* p) PURE;
  STDMETHOD(put_innerHTML)(BSTR v) PURE;
  STDMETHOD(get_innerHTML)(BSTR* p) PURE;
};
TSR_INTERFACE_ID(IHTMLElement, IID_IHTMLElement);

struct IHTMLStyleSheet : public IDispatch {
  STDMETHOD(get_href)(BSTR* p) PURE;
  // Adds "selector { style }" at lIndex among the sheet's rules (-1: last).
  STDMETHOD(addRule)(BSTR bstrSelector, BSTR bstrStyle, LONG lIndex, LONG* plNewIndex) PURE;
};
TSR_INTERFACE_ID(IHTMLStyleSheet, IID_IHTMLStyleSheet);
