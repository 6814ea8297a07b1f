// Persistence into a stream and connection points (how an object reports events to its sinks).
#pragma once

#include "objidl.h"

struct IEnumConnections;      // only passed through
struct IEnumConnectionPoints;  // only passed through
struct IConnectionPointContainer;

extern const IID IID_IPersistStreamInit;
extern const IID IID_IConnectionPoint;
extern const IID IID_IConnectionPointContainer;

struct IPersistStreamInit : public IPersist {
  STDMETHOD(IsDirty)() PURE;
  // Reads the object's new state from the stream, within this call.
  STDMETHOD(Load)(LPSTREAM pStm) PURE;
  STDMETHOD(Save)(LPSTREAM pStm, BOOL fClearDirty) PURE;
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER* pCbSize) PURE;
  STDMETHOD(InitNew)() PURE;
};
typedef IPersistStreamInit* LPPERSISTSTREAMINIT;
TSR_INTERFACE_ID(IPersistStreamInit, IID_IPersistStreamInit);

struct IConnectionPoint : public IUnknown {
  STDMETHOD(GetConnectionInterface)(IID* pIID) PURE;
  STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) PURE;
  // The sink is held (AddRef) until Unadvise with the cookie.
  STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) PURE;
  STDMETHOD(Unadvise)(DWORD dwCookie) PURE;
  STDMETHOD(EnumConnections)(IEnumConnections** ppEnum) PURE;
};
TSR_INTERFACE_ID(IConnectionPoint, IID_IConnectionPoint);

struct IConnectionPointContainer : public IUnknown {
  STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** ppEnum) PURE;
  STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) PURE;
};
TSR_INTERFACE_ID(IConnectionPointContainer, IID_IConnectionPointContainer);
