// The document of one frame of a browser control. The view holds the page; the document
// hands out its window, elements and style sheets, runs the editing commands, loads a page
// from a stream (IPersistStreamInit) and reports the document's events to its sinks.
#pragma once

#include "atlbase.h"
#include "core/com/BrowserContext.h"
#include "ComObject.h"
#include "core/com/ConnectionPoint.h"
#include "docobj.h"
#include "ocidl.h"

namespace core {

class HtmlDocument
    : public ComObject<DispatchWithoutTypes<IHTMLDocument2>, DispatchWithoutTypes<IHTMLDocument3>, IOleCommandTarget,
                       IPersistStreamInit, IConnectionPointContainer> {
 public:
  HtmlDocument(BrowserContextRef context, BrowserFrame frame);

  // IHTMLDocument2
  STDMETHODIMP get_Script(IDispatch** p) override;
  STDMETHODIMP get_title(BSTR* p) override;
  STDMETHODIMP get_URL(BSTR* p) override;
  STDMETHODIMP queryCommandEnabled(BSTR cmdID, VARIANT_BOOL* pfRet) override;
  STDMETHODIMP execCommand(BSTR cmdID, VARIANT_BOOL showUI, VARIANT value, VARIANT_BOOL* pfRet) override;
  STDMETHODIMP get_parentWindow(IHTMLWindow2** p) override;
  STDMETHODIMP createStyleSheet(BSTR bstrHref, LONG lIndex, IHTMLStyleSheet** ppnewStyleSheet) override;
  // IHTMLDocument3
  STDMETHODIMP getElementById(BSTR v, IHTMLElement** pel) override;
  // IOleCommandTarget: CGID_IWebBrowser 1 opens find; CGID_MSHTML runs the editing commands.
  STDMETHODIMP QueryStatus(const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
  STDMETHODIMP Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
                    VARIANT* pvaOut) override;
  // IPersistStreamInit: Load reads the whole stream, in pieces, and gives the page to the view.
  STDMETHODIMP GetClassID(CLSID* pClassID) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(LPSTREAM pStm) override;
  STDMETHODIMP Save(LPSTREAM pStm, BOOL fClearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pCbSize) override;
  STDMETHODIMP InitNew() override;
  // IConnectionPointContainer: DIID_HTMLDocumentEvents2.
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** ppEnum) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;

  // Calls the sinks of the document's events with the event object as the one argument.
  void FireEvent(DISPID event, IHTMLEventObj* eventObject);
  // The view is gone: the sinks are let go.
  void Close();

  // The size of the pieces Load reads.
  static constexpr ULONG kReadPiece = 4096;

 private:
  ~HtmlDocument() override;
  void* FindInterface(REFIID iid) override;
  // The view, for calls the top-level document answers; null otherwise.
  std::shared_ptr<BrowserView> TopLevelView() const;

  BrowserContextRef context_;
  BrowserFrame frame_;
  CComPtr<ConnectionPoint> events_;
};

}  // namespace core
