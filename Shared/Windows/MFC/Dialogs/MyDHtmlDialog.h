// The base of every HTML dialog: a quiet, embeddable host for one page shown by the browser
// control. It never ends itself on Enter or Escape, paints no background of its own, shows no
// context menu and opens no dropped files; every control gets a MyDHtmlSite; the browser's
// before-navigate and navigate-error events go to overridable hooks; and four signals let
// owners take part in navigation, document completion, document events and script
// permission without overriding anything. A page may also come from memory (SetHtml), and
// named elements can be filled once the page is there (SetElementHtml).
#pragma once

#include <map>
#include <vector>

#include <boost/signals2/signal.hpp>

#include <afxdhtml.h>
#include <atlbase.h>

#include "Shared/Windows/MFC/Dialogs/ExistsTrueCombiner.h"
#include "foundation/ByteRange.h"
#include "foundation/CopiedUString.h"
#include "foundation/UStringLess.h"

class CMyDHtmlDialog : public CDHtmlDialog {
 public:
  // The navigation target as UTF-8; true cancels the navigation.
  typedef boost::signals2::signal<bool(const UStringRef<UTF8>&), ExistsTrueCombiner> BeforeNavigateSignal;
  // Fired at the end of every document-complete event, frames included.
  typedef boost::signals2::signal<void()> DocumentCompleteSignal;
  // The document's event being delivered (null when the document has none); true cancels
  // the browser's default action for it.
  typedef boost::signals2::signal<bool(CComPtr<IHTMLEventObj>), ExistsTrueCombiner> DocumentEventSignal;
  // The address of the page that wants to run script; true allows it.
  typedef boost::signals2::signal<bool(LPCWSTR url), ExistsTrueCombiner> ScriptPermissionSignal;

  // The template is named when the window is made with Create(templateId, parent).
  explicit CMyDHtmlDialog(CWnd* parent = nullptr);
  ~CMyDHtmlDialog() override;

  // Does nothing before OnInitDialog made the browser. Sets the browser's silent property
  // from `silent`, refuses a url that is not valid UTF-16, then navigates. Never raises: a
  // failure means the browser did not navigate.
  void Navigate(LPCWSTR url, DWORD flags = 0, LPCWSTR targetFrame = nullptr, LPCWSTR headers = nullptr,
                LPVOID postData = nullptr, DWORD postDataLength = 0) override;
  // The same for a UTF-8 address; invalid UTF-8 raises before anything is navigated.
  void Navigate(UStringRef<UTF8> url, DWORD flags = 0, LPCWSTR targetFrame = nullptr, LPCWSTR headers = nullptr,
                LPVOID postData = nullptr, DWORD postDataLength = 0);

  // The signal for a document event's dispatch identifier, made with no slots on first request.
  DocumentEventSignal& EventSignal(DISPID dispatchId);
  // The document the browser holds now as IHTMLDocument2, or null (no browser, no document,
  // or not an HTML document). Other failures raise Windows::Error with their HRESULT.
  CComPtr<IHTMLDocument2> QueryDocument();

  // Adds or replaces the HTML text for the element with that id. Texts given before the
  // page's second document-complete are written then; later ones are written into the page
  // at once (when it has the element), and again by nothing else.
  void SetElementHtml(UStringRef<UTF8> id, UStringRef<UTF8> html);

  // Shows HTML bytes held in memory instead of an address. Bytes equal to the ones stored
  // are loaded again only when reload is set. Before the first document-complete the bytes
  // are only stored, and loaded then. The caller keeps the bytes alive during the call.
  virtual void SetHtml(ConstByteRange bytes, bool reload);
  // Whether the page at url may run script: the script permission signal's answer, false
  // when a slot throws.
  virtual bool CanRunScript(LPCWSTR url);
  // A certificate problem of the page being loaded (12037, 12038 or 12045); S_FALSE leaves
  // the browser to stop.
  virtual HRESULT OnCertificateError(DWORD problem);
  // The browser's NavigateError event; does nothing here.
  virtual void OnNavigateError(LPDISPATCH dispatch, VARIANT* url, VARIANT* frame, VARIANT* statusCode, BOOL* cancel);
  // The browser's BeforeNavigate2 event; writing TRUE to *cancel cancels the navigation.
  // Here: the listeners of beforeNavigateSignal, then the default navigation policy.
  virtual void OnBeforeNavigate2(LPDISPATCH dispatch, VARIANT* url, VARIANT* flags, VARIANT* targetFrame,
                                 VARIANT* postData, VARIANT* headers, BOOL* cancel);

  // The handler connected to the mouse-wheel event: true (cancel) while Shift is held.
  // A null event raises E_POINTER.
  static bool BlockShiftWheel(CComPtr<IHTMLEventObj> event);

  BOOL CreateControlSite(COleControlContainer* container, COleControlSite** site, UINT id, REFCLSID clsid) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnNavigateComplete(LPDISPATCH dispatch, LPCWSTR url) override;
  void OnDocumentComplete(LPDISPATCH dispatch, LPCWSTR url) override;
  STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
  BOOL DHtmlEventHook(HRESULT* result, DISPID dispid, DISPPARAMS* params, VARIANT* varResult, EXCEPINFO* excepInfo,
                      UINT* argErr) override;
  // Through ReportRequirementFailure, like the failures this class's own guards catch.
  void ReportGuardedFailure(const char* file, int line, const char* expression) override;

  // Given to the browser as its silent property before every navigation.
  bool silent = false;

 protected:
  // The bytes in htmlContent are loaded into the current document at the first
  // document-complete; the element texts are written at the second.
  bool firstDocumentCompleted = false;
  bool elementContentApplied = false;
  std::vector<unsigned char> htmlContent;

  std::map<CopiedUString<UTF8>, CopiedUString<UTF8>, UStringLess<UTF8>> elementContent;

 public:
  BeforeNavigateSignal beforeNavigateSignal;
  DocumentCompleteSignal documentCompleteSignal;

 protected:
  // Reached through EventSignal; entries live as long as the dialog.
  std::map<DISPID, DocumentEventSignal> eventSignals;

 public:
  ScriptPermissionSignal scriptPermissionSignal;
  // The browser site grants every URL action other than running script.
  bool permitAllUrlActions = false;

 protected:
  // The worker of SetHtml.
  void LoadHtml(ConstByteRange bytes, bool reload);

  // A navigation event's address: the url variant's string (by reference too), with the length
  // its BSTR holds, so that zero units inside stay part of it. A null string, or a variant
  // without one, is the empty address.
  static UStringRef<UTF16> NavigationTargetOf(const VARIANT* url);

  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  afx_msg void OnEditCopy();
  afx_msg void OnEditCut();
  afx_msg void OnEditPaste();
  afx_msg void OnEditFind();
  afx_msg void OnEditSelectAll();
  afx_msg void OnUpdateEditCopy(CCmdUI* ui);
  afx_msg void OnUpdateEditCut(CCmdUI* ui);
  afx_msg void OnUpdateEditPaste(CCmdUI* ui);
  afx_msg void OnUpdateEditFind(CCmdUI* ui);
  afx_msg void OnUpdateEditSelectAll(CCmdUI* ui);

  DECLARE_MESSAGE_MAP()
  DECLARE_EVENTSINK_MAP()

 private:
  CComPtr<IHTMLEventObj> CurrentEvent();
  void StyleBody();
  void ApplyElementContent();
  void WriteElementHtml(UStringRef<UTF8> id, UStringRef<UTF8> html);
  void SendEditCommand(UINT browserCommand);
  bool IsCommandEnabled(LPCWSTR command);
};
