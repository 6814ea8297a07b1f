// The root of every COM interface, interface identifiers and the helpers that compare them.
// Interfaces are structs of pure virtual functions in the platform's relative slot order;
// only the methods this system calls or answers are declared.
#pragma once

#include <cstring>

#include "windef.h"
#include "winerror.h"

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define PURE = 0

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
#define IsEqualIID(a, b) IsEqualGUID((a), (b))
#define IsEqualCLSID(a, b) IsEqualGUID((a), (b))
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

// Each interface names its identifier once (TSR_INTERFACE_ID); __uuidof(Interface) and
// IID_PPV_ARGS find it from the type, as the platform's compiler does from its attribute.
template <class Interface>
struct ComInterfaceId;
#define TSR_INTERFACE_ID(Interface, iid) \
  template <>                            \
  struct ComInterfaceId<Interface> {     \
    static const IID& Get() { return iid; } \
  }
#define __uuidof(Interface) (::ComInterfaceId<Interface>::Get())
template <class Interface>
const IID& ComInterfaceIdOf(Interface**) {
  return ComInterfaceId<Interface>::Get();
}
template <class Interface>
void** IID_PPV_ARGS_Helper(Interface** pp) {
  return reinterpret_cast<void**>(pp);
}
#define IID_PPV_ARGS(pp) ::ComInterfaceIdOf(pp), ::IID_PPV_ARGS_Helper(pp)

extern const GUID GUID_NULL;
extern const IID IID_NULL;
extern const IID IID_IUnknown;

struct IUnknown {
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
  STDMETHOD_(ULONG, AddRef)() PURE;
  STDMETHOD_(ULONG, Release)() PURE;

 protected:
  ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
TSR_INTERFACE_ID(IUnknown, IID_IUnknown);

extern const IID IID_IClassFactory;

// The maker of a class's objects, as CoGetClassObject hands it out.
struct IClassFactory : public IUnknown {
  // A new object of the class, asked for riid; CLASS_E_NOAGGREGATION when pUnkOuter is given
  // and the class cannot be aggregated.
  STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) PURE;
  STDMETHOD(LockServer)(BOOL fLock) PURE;
};
TSR_INTERFACE_ID(IClassFactory, IID_IClassFactory);
