// Automation: safe arrays, variants, the arguments of a dispatch call and IDispatch.
#pragma once

#include "unknwn.h"
#include "wtypes.h"

struct IDispatch;
struct ITypeInfo;  // only passed through; the system describes no types

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  PVOID pvData;
  SAFEARRAYBOUND rgsabound[1];
};
typedef SAFEARRAY* LPSAFEARRAY;

// vt tells which member holds the value; with VT_BYREF the member is a pointer to it. The
// size and layout are the platform's (24 bytes on 64-bit).
struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    SAFEARRAY* parray;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    SAFEARRAY** pparray;
    VARIANT* pvarVal;
    PVOID byref;
    INT intVal;
    UINT uintVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    struct {
      PVOID pvRecord;
      PVOID pRecInfo;
    } brecVal;
  };
};
typedef VARIANT VARIANTARG;
typedef VARIANT* LPVARIANT;
typedef VARIANT* LPVARIANTARG;
static_assert(sizeof(VARIANT) == 8 + 2 * sizeof(void*), "the platform's variant size");

#define V_VT(v) ((v)->vt)
#define V_ISBYREF(v) (V_VT(v) & VT_BYREF)
#define V_I4(v) ((v)->lVal)
#define V_UI4(v) ((v)->ulVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_DISPATCH(v) ((v)->pdispVal)
#define V_UNKNOWN(v) ((v)->punkVal)
#define V_ERROR(v) ((v)->scode)
#define V_ARRAY(v) ((v)->parray)
#define V_VARIANTREF(v) ((v)->pvarVal)
#define V_BOOLREF(v) ((v)->pboolVal)
#define V_BYREF(v) ((v)->byref)

// The arguments of IDispatch::Invoke: rgvarg holds them in reverse order (the last argument
// first); named arguments come first and are named in rgdispidNamedArgs.
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};
typedef EXCEPINFO* LPEXCEPINFO;

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800

extern const IID IID_IDispatch;

struct IDispatch : public IUnknown {
  STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) PURE;
  STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) PURE;
  STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) PURE;
  STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                    VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) PURE;
};
typedef IDispatch* LPDISPATCH;
TSR_INTERFACE_ID(IDispatch, IID_IDispatch);
