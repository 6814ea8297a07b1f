// The browser object of one frame of a control (IWebBrowser2): the pDisp of the frame's
// events, through which a frame navigates and hands out its document. The control itself is
// the browser object of its top-level frame.
#pragma once

#include "core/com/BrowserContext.h"
#include "ComObject.h"
#include "exdisp.h"

namespace core {

class FrameBrowser : public ComObject<DispatchWithoutTypes<IWebBrowser2>> {
 public:
  FrameBrowser(BrowserContextRef context, BrowserFrame frame);

  STDMETHODIMP Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                        VARIANT* Headers) override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP get_Document(IDispatch** ppDisp) override;
  STDMETHODIMP get_LocationName(BSTR* LocationName) override;
  STDMETHODIMP get_LocationURL(BSTR* LocationURL) override;
  STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                         VARIANT* Headers) override;
  STDMETHODIMP get_Silent(VARIANT_BOOL* pbSilent) override;
  STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override;
  STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override;
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL bRegister) override;


 protected:
  void* FindInterface(REFIID iid) override;

  BrowserContextRef context_;
  BrowserFrame frame_;
};

// The navigation a Navigate call asks for: Flags (VT_I4), TargetFrameName and Headers
// (VT_BSTR) and PostData (a VT_ARRAY | VT_UI1 array), each possibly by reference, null or
// VT_EMPTY. navOpenInNewWindow means the target "_blank".
BrowserNavigation NavigationOf(std::u16string url, const VARIANT* flags, const VARIANT* targetFrameName,
                               const VARIANT* postData, const VARIANT* headers, BrowserFrame frame);

}  // namespace core
