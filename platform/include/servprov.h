// Services that an object offers beyond its own interfaces, found by service identifier.
#pragma once

#include "unknwn.h"

extern const IID IID_IServiceProvider;

struct IServiceProvider : public IUnknown {
  STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) PURE;
};
TSR_INTERFACE_ID(IServiceProvider, IID_IServiceProvider);
