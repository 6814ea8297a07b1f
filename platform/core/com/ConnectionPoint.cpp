#include "core/com/ConnectionPoint.h"

#include <algorithm>

namespace core {

ConnectionPoint::ConnectionPoint(const IID& events, IConnectionPointContainer* container)
    : events_(events), container_(container) {}

void* ConnectionPoint::FindInterface(REFIID iid) {
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) return static_cast<IConnectionPoint*>(this);
  return nullptr;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = events_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = container_;
  if (container_ == nullptr) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  CComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&dispatch))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_.push_back(Sink{*cookie, dispatch});
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  sinks_.erase(it);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections != nullptr) *connections = nullptr;
  return E_NOTIMPL;
}

void ConnectionPoint::Fire(DISPID dispid, DISPPARAMS* params, VARIANT* result) {
  // A sink may unadvise itself or others while it runs; the snapshot keeps each one alive.
  std::vector<CComPtr<IDispatch>> snapshot;
  snapshot.reserve(sinks_.size());
  for (const Sink& sink : sinks_) snapshot.push_back(sink.dispatch);
  for (const CComPtr<IDispatch>& sink : snapshot) {
    EXCEPINFO excepInfo{};
    UINT argError = 0;
    sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, result, &excepInfo, &argError);
    SysFreeString(excepInfo.bstrSource);
    SysFreeString(excepInfo.bstrDescription);
    SysFreeString(excepInfo.bstrHelpFile);
  }
}

void ConnectionPoint::DisconnectAll() { sinks_.clear(); }

}  // namespace core
