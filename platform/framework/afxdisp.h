// Events of contained controls: the event record and the event sink map, which routes an
// event (a dispatch identifier with its DISPPARAMS) of a control to a member function.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "afxwin.h"
#include <windows.h>
#include <oaidl.h>

struct AFX_EVENT {
  enum { event, propRequest, propChanged, propDSCNotify };
  AFX_EVENT(int eventKind, DISPID dispid, DISPPARAMS* params = nullptr, EXCEPINFO* excepInfo = nullptr,
            UINT* argError = nullptr)
      : m_eventKind(eventKind),
        m_dispid(dispid),
        m_pDispParams(params),
        m_pExcepInfo(excepInfo),
        m_puArgError(argError),
        m_hResult(S_OK) {}
  int m_eventKind;
  DISPID m_dispid;
  DISPPARAMS* m_pDispParams;
  EXCEPINFO* m_pExcepInfo;
  UINT* m_puArgError;
  // Set when the arguments do not fit the handler (DISP_E_BADPARAMCOUNT, DISP_E_TYPEMISMATCH).
  HRESULT m_hResult;
};

// Calls the handler of one entry with the event's arguments; TRUE when the event is handled.
typedef BOOL (*AFX_EVENTSINK_THUNK)(CCmdTarget* target, AFX_EVENT* event);

struct AFX_EVENTSINKMAP_ENTRY {
  UINT nCtrlIDFirst;
  UINT nCtrlIDLast;
  DISPID dispid;
  const char* pbParamInfo;  // the VTS_ string of the entry
  AFX_EVENTSINK_THUNK pfn;
};

struct AFX_EVENTSINKMAP {
  const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
  const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

// Parameter kinds of an event handler, one byte each, concatenated in parameter order.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"
#define VTS_UI4 "\x13"
#define VTS_PI4 "\x43"
#define VTS_PBSTR "\x48"
#define VTS_PDISPATCH "\x49"
#define VTS_PBOOL "\x4B"
#define VTS_PVARIANT "\x4C"

// ---- Arguments: from a VARIANT of DISPPARAMS to a handler's parameter -----------------------

// One specialisation per parameter type a handler may take. Fits() tells whether the variant
// holds that kind of value; Get() gives it. A BOOL* parameter (the 32-bit flag an event
// handler writes) stands for a VT_BYREF | VT_BOOL argument and is written back after the call.
template <class T>
class AfxEventArgument;

template <>
class AfxEventArgument<IDispatch*> {
 public:
  explicit AfxEventArgument(VARIANT& v)
      : fits_(v.vt == VT_DISPATCH || v.vt == (VT_BYREF | VT_DISPATCH) || v.vt == VT_EMPTY),
        value_(v.vt == VT_DISPATCH ? v.pdispVal : v.vt == (VT_BYREF | VT_DISPATCH) ? *v.ppdispVal : nullptr) {}
  bool Fits() const { return fits_; }
  IDispatch* Get() const { return value_; }

 private:
  bool fits_;
  IDispatch* value_;
};

template <>
class AfxEventArgument<IDispatch**> {
 public:
  explicit AfxEventArgument(VARIANT& v) : value_(v.vt == (VT_BYREF | VT_DISPATCH) ? v.ppdispVal : nullptr) {}
  bool Fits() const { return value_ != nullptr; }
  IDispatch** Get() const { return value_; }

 private:
  IDispatch** value_;
};

// A VARIANT* parameter gets the variant a VT_BYREF | VT_VARIANT argument points to, or the
// argument itself.
template <>
class AfxEventArgument<VARIANT*> {
 public:
  explicit AfxEventArgument(VARIANT& v) : value_(v.vt == (VT_BYREF | VT_VARIANT) ? v.pvarVal : &v) {}
  bool Fits() const { return value_ != nullptr; }
  VARIANT* Get() const { return value_; }

 private:
  VARIANT* value_;
};

template <>
class AfxEventArgument<VARIANT_BOOL*> {
 public:
  explicit AfxEventArgument(VARIANT& v) : value_(v.vt == (VT_BYREF | VT_BOOL) ? v.pboolVal : nullptr) {}
  bool Fits() const { return value_ != nullptr; }
  VARIANT_BOOL* Get() const { return value_; }

 private:
  VARIANT_BOOL* value_;
};

template <>
class AfxEventArgument<BOOL*> {
 public:
  explicit AfxEventArgument(VARIANT& v)
      : target_(v.vt == (VT_BYREF | VT_BOOL) ? v.pboolVal : nullptr), value_(target_ != nullptr && *target_ != 0) {}
  AfxEventArgument(const AfxEventArgument&) = delete;
  AfxEventArgument& operator=(const AfxEventArgument&) = delete;
  ~AfxEventArgument() {
    if (target_ != nullptr) *target_ = value_ ? VARIANT_TRUE : VARIANT_FALSE;
  }
  bool Fits() const { return target_ != nullptr; }
  BOOL* Get() { return &value_; }

 private:
  VARIANT_BOOL* target_;
  BOOL value_;
};

template <>
class AfxEventArgument<BSTR> {
 public:
  explicit AfxEventArgument(VARIANT& v)
      : fits_(v.vt == VT_BSTR || v.vt == (VT_BYREF | VT_BSTR)),
        value_(v.vt == VT_BSTR ? v.bstrVal : v.vt == (VT_BYREF | VT_BSTR) ? *v.pbstrVal : nullptr) {}
  bool Fits() const { return fits_; }
  BSTR Get() const { return value_; }

 private:
  bool fits_;
  BSTR value_;
};

// LONG and BOOL are the same type: VT_I4 gives the number, VT_BOOL gives TRUE or FALSE.
template <>
class AfxEventArgument<LONG> {
 public:
  explicit AfxEventArgument(VARIANT& v)
      : fits_(v.vt == VT_I4 || v.vt == VT_BOOL || v.vt == VT_INT),
        value_(v.vt == VT_BOOL ? (v.boolVal != 0 ? TRUE : FALSE) : v.lVal) {}
  bool Fits() const { return fits_; }
  LONG Get() const { return value_; }

 private:
  bool fits_;
  LONG value_;
};

template <>
class AfxEventArgument<DWORD> {
 public:
  explicit AfxEventArgument(VARIANT& v)
      : fits_(v.vt == VT_UI4 || v.vt == VT_I4 || v.vt == VT_UINT), value_(v.ulVal) {}
  bool Fits() const { return fits_; }
  DWORD Get() const { return value_; }

 private:
  bool fits_;
  DWORD value_;
};

template <class Class, class Result, class... Params>
constexpr std::size_t AfxEventHandlerArity(Result (Class::*)(Params...)) {
  return sizeof...(Params);
}

template <class Class, class Result, class... Params, class... Arguments>
BOOL AfxCallEventHandlerWith(Class* target, Result (Class::*handler)(Params...), AFX_EVENT* event,
                             Arguments&&... arguments) {
  if (!(arguments.Fits() && ...)) {
    event->m_hResult = DISP_E_TYPEMISMATCH;
    return FALSE;
  }
  if constexpr (std::is_void_v<Result>) {
    (target->*handler)(arguments.Get()...);
    return TRUE;
  } else {
    return (target->*handler)(arguments.Get()...) ? TRUE : FALSE;
  }
}

template <class Class, class Result, class... Params, std::size_t... Index>
BOOL AfxCallEventHandlerAt(Class* target, Result (Class::*handler)(Params...), AFX_EVENT* event,
                           std::index_sequence<Index...>) {
  VARIANT* args = event->m_pDispParams != nullptr ? event->m_pDispParams->rgvarg : nullptr;
  constexpr std::size_t count = sizeof...(Params);
  (void)args;
  return AfxCallEventHandlerWith(target, handler, event,
                                 AfxEventArgument<std::remove_cv_t<Params>>(args[count - 1 - Index])...);
}

// Calls handler with the event's arguments (the last argument is rgvarg[0]). A handler that
// returns void takes the event; one that returns BOOL takes it when it answers TRUE, and the
// search goes on in the base classes' entries otherwise.
template <class Target, class Class, class Result, class... Params>
BOOL AfxCallEventHandler(Target* target, Result (Class::*handler)(Params...), AFX_EVENT* event) {
  const DISPPARAMS* params = event->m_pDispParams;
  const UINT given = params != nullptr ? params->cArgs : 0;
  if (given != sizeof...(Params) || (params != nullptr && params->cNamedArgs != 0)) {
    event->m_hResult = DISP_E_BADPARAMCOUNT;
    return FALSE;
  }
  return AfxCallEventHandlerAt(static_cast<Class*>(target), handler, event, std::index_sequence_for<Params...>{});
}

// ---- The map ------------------------------------------------------------------------------

#define DECLARE_EVENTSINK_MAP()                               \
 protected:                                                   \
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap();       \
  const AFX_EVENTSINKMAP* GetEventSinkMap() const override;   \
                                                              \
 private:

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                              \
  const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
  const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                                   \
    typedef baseClass TheBaseClass;                                                           \
    static const AFX_EVENTSINKMAP_ENTRY eventsinkEntries_[] = {

#define END_EVENTSINK_MAP()                                                                         \
  {0, 0, 0, nullptr, nullptr}                                                                       \
  }                                                                                                 \
  ;                                                                                                 \
  static const AFX_EVENTSINKMAP eventsinkMap_ = {&TheBaseClass::GetThisEventSinkMap, &eventsinkEntries_[0]}; \
  return &eventsinkMap_;                                                                            \
  }

// memberFxn is the member's name, as the platform writes it; vtsParams lists its parameters
// (VTS_ constants), and must have one entry per parameter.
#define ON_EVENT(theClass, id, dispid, memberFxn, vtsParams)                                         \
  {static_cast<UINT>(id), static_cast<UINT>(id), static_cast<DISPID>(dispid), vtsParams,             \
   [](CCmdTarget* target_, AFX_EVENT* event_) -> BOOL {                                              \
     static_assert(sizeof(vtsParams) - 1 == AfxEventHandlerArity(&theClass::memberFxn),              \
                   "one VTS_ entry per parameter");                                                  \
     return AfxCallEventHandler(static_cast<theClass*>(target_), &theClass::memberFxn, event_);      \
   }},
