// A connection point of core's objects: the sinks of one events' interface, each held until
// it is unadvised, and the calls that fire an event to all of them.
#pragma once

#include <vector>

#include "atlbase.h"
#include "ComObject.h"
#include "ocidl.h"

namespace core {

class ConnectionPoint : public ComObject<IConnectionPoint> {
 public:
  // container: the object the point belongs to (not held, so that the two do not keep each
  // other alive; it outlives the point's use).
  ConnectionPoint(const IID& events, IConnectionPointContainer* container);

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  // The sink must answer the events' interface or IDispatch.
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  // Calls Invoke of every sink connected now (those that go meanwhile are still called, as
  // the call holds them). params is shared by the calls, so a by-reference argument one sink
  // writes is what the next sink reads.
  void Fire(DISPID dispid, DISPPARAMS* params, VARIANT* result = nullptr);
  // Drops every sink: the object goes away.
  void DisconnectAll();

 private:
  void* FindInterface(REFIID iid) override;

  struct Sink {
    DWORD cookie;
    CComPtr<IDispatch> dispatch;
  };
  IID events_;
  IConnectionPointContainer* container_;
  std::vector<Sink> sinks_;
  DWORD nextCookie_ = 1;
};

}  // namespace core
