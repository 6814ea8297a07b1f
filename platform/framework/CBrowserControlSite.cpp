// The browser control's site: IDocHostUIHandler, each question passed to the dialog's method
// of the same name. Nothing the dialog throws crosses back into the browser.
#include "afxocc.h"

#include "afxdhtml.h"
#include "GuardedComCall.h"

namespace {

// Each question goes to the dialog, which is also told what the guard catches.
template <class Call>
HRESULT AskHandler(CDHtmlDialog* handler, Call&& call, std::source_location where = std::source_location::current()) {
  const auto report = [handler](const char* file, int line, const char* expression) {
    handler->ReportGuardedFailure(file, line, expression);
  };
  return GuardedComCall(report, "browser host question answered", std::forward<Call>(call), where);
}

}  // namespace

CBrowserControlSite::CBrowserControlSite(COleControlContainer* container, CDHtmlDialog* handler)
    : COleControlSite(container), m_pHandler(handler) {}

CBrowserControlSite::~CBrowserControlSite() = default;

LPUNKNOWN CBrowserControlSite::GetOwnInterface(const IID& iid) {
  if (iid == IID_IDocHostUIHandler) return static_cast<IDocHostUIHandler*>(this);
  return COleControlSite::GetOwnInterface(iid);
}

STDMETHODIMP CBrowserControlSite::QueryInterface(REFIID riid, void** ppvObject) {
  return ExternalQueryInterface(&riid, ppvObject);
}
STDMETHODIMP_(ULONG) CBrowserControlSite::AddRef() { return ExternalAddRef(); }
STDMETHODIMP_(ULONG) CBrowserControlSite::Release() { return ExternalRelease(); }

STDMETHODIMP CBrowserControlSite::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                                  IDispatch* pdispReserved) {
  return AskHandler(m_pHandler,
                    [&] { return m_pHandler->ShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved); });
}

STDMETHODIMP CBrowserControlSite::GetHostInfo(DOCHOSTUIINFO* pInfo) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->GetHostInfo(pInfo); });
}

STDMETHODIMP CBrowserControlSite::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                         IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                         IOleInPlaceUIWindow* pDoc) {
  return AskHandler(m_pHandler,
                    [&] { return m_pHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc); });
}

STDMETHODIMP CBrowserControlSite::HideUI() {
  return AskHandler(m_pHandler, [&] { return m_pHandler->HideUI(); });
}

STDMETHODIMP CBrowserControlSite::UpdateUI() {
  return AskHandler(m_pHandler, [&] { return m_pHandler->UpdateUI(); });
}

STDMETHODIMP CBrowserControlSite::EnableModeless(BOOL fEnable) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->EnableModeless(fEnable); });
}

STDMETHODIMP CBrowserControlSite::OnDocWindowActivate(BOOL fActivate) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->OnDocWindowActivate(fActivate); });
}

STDMETHODIMP CBrowserControlSite::OnFrameWindowActivate(BOOL fActivate) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->OnFrameWindowActivate(fActivate); });
}

STDMETHODIMP CBrowserControlSite::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->ResizeBorder(prcBorder, pUIWindow, fRameWindow); });
}

STDMETHODIMP CBrowserControlSite::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID); });
}

STDMETHODIMP CBrowserControlSite::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->GetOptionKeyPath(pchKey, dw); });
}

STDMETHODIMP CBrowserControlSite::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->GetDropTarget(pDropTarget, ppDropTarget); });
}

STDMETHODIMP CBrowserControlSite::GetExternal(IDispatch** ppDispatch) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->GetExternal(ppDispatch); });
}

STDMETHODIMP CBrowserControlSite::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut); });
}

STDMETHODIMP CBrowserControlSite::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) {
  return AskHandler(m_pHandler, [&] { return m_pHandler->FilterDataObject(pDO, ppDORet); });
}
