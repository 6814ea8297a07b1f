// Scoped COM helpers: counted interface references (CComPtr, CComQIPtr), an owned BSTR
// (CComBSTR) and an owned variant (CComVariant). Each releases what it holds when it goes
// out of scope, also during unwinding.
#pragma once

#include <memory>
#include <utility>

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>

template <class T>
class CComPtr {
 public:
  CComPtr() noexcept : p(nullptr) {}
  CComPtr(T* other) noexcept : p(other) {
    if (p != nullptr) p->AddRef();
  }
  CComPtr(const CComPtr& other) noexcept : CComPtr(other.p) {}
  CComPtr(CComPtr&& other) noexcept : p(other.p) { other.p = nullptr; }
  ~CComPtr() {
    if (p != nullptr) p->Release();
  }
  CComPtr& operator=(T* other) noexcept {
    if (other != nullptr) other->AddRef();
    T* old = p;
    p = other;
    if (old != nullptr) old->Release();
    return *this;
  }
  CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
  CComPtr& operator=(CComPtr&& other) noexcept {
    if (this != std::addressof(other)) {
      T* old = p;
      p = other.p;
      other.p = nullptr;
      if (old != nullptr) old->Release();
    }
    return *this;
  }

  operator T*() const noexcept { return p; }
  T& operator*() const noexcept { return *p; }
  T* operator->() const noexcept { return p; }
  bool operator!() const noexcept { return p == nullptr; }
  bool operator==(T* other) const noexcept { return p == other; }
  bool operator!=(T* other) const noexcept { return p != other; }
  // The address for an out-parameter; a reference held until now is released first, so that
  // nothing leaks when the pointer is reused.
  T** operator&() noexcept {
    Release();
    return &p;
  }

  void Release() noexcept {
    T* old = p;
    p = nullptr;
    if (old != nullptr) old->Release();
  }
  // Takes over a reference without adding one.
  void Attach(T* other) noexcept {
    T* old = p;
    p = other;
    if (old != nullptr) old->Release();
  }
  // Gives up the reference without releasing it.
  T* Detach() noexcept {
    T* held = p;
    p = nullptr;
    return held;
  }
  HRESULT CopyTo(T** out) const noexcept {
    if (out == nullptr) return E_POINTER;
    *out = p;
    if (p != nullptr) p->AddRef();
    return S_OK;
  }
  template <class Q>
  HRESULT QueryInterface(Q** out) const noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (p == nullptr) return E_POINTER;
    return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(out));
  }
  // Whether both name the same object (their IUnknown identities are equal).
  bool IsEqualObject(IUnknown* other) const noexcept {
    if (p == nullptr && other == nullptr) return true;
    if (p == nullptr || other == nullptr) return false;
    CComPtr<IUnknown> mine;
    CComPtr<IUnknown> theirs;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&mine));
    other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&theirs));
    return mine.p != nullptr && mine.p == theirs.p;
  }

  T* p;
};

// A reference obtained by QueryInterface from whatever it is given.
template <class T>
class CComQIPtr : public CComPtr<T> {
 public:
  CComQIPtr() noexcept = default;
  CComQIPtr(T* other) noexcept : CComPtr<T>(other) {}
  CComQIPtr(IUnknown* other) noexcept {
    if (other != nullptr) other->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&this->p));
  }
  CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<T>(other.p) {}
  CComQIPtr& operator=(T* other) noexcept {
    CComPtr<T>::operator=(other);
    return *this;
  }
  CComQIPtr& operator=(const CComQIPtr& other) noexcept {
    CComPtr<T>::operator=(other.p);
    return *this;
  }
  CComQIPtr& operator=(IUnknown* other) noexcept {
    T* found = nullptr;
    if (other != nullptr) other->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&found));
    this->Attach(found);
    return *this;
  }
};

template <>
class CComQIPtr<IUnknown> : public CComPtr<IUnknown> {
 public:
  CComQIPtr() noexcept = default;
  CComQIPtr(IUnknown* other) noexcept {
    if (other != nullptr) other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&this->p));
  }
};

class CComBSTR {
 public:
  CComBSTR() noexcept : m_str(nullptr) {}
  CComBSTR(LPCOLESTR text) : m_str(SysAllocString(text)) {}
  CComBSTR(int length, LPCOLESTR text) : m_str(SysAllocStringLen(text, static_cast<UINT>(length))) {}
  CComBSTR(const CComBSTR& other) : m_str(other.Copy()) {}
  CComBSTR(CComBSTR&& other) noexcept : m_str(other.m_str) { other.m_str = nullptr; }
  ~CComBSTR() { SysFreeString(m_str); }
  CComBSTR& operator=(const CComBSTR& other) {
    if (this != std::addressof(other)) {
      BSTR copy = other.Copy();
      SysFreeString(m_str);
      m_str = copy;
    }
    return *this;
  }
  CComBSTR& operator=(CComBSTR&& other) noexcept {
    std::swap(m_str, other.m_str);
    return *this;
  }
  CComBSTR& operator=(LPCOLESTR text) {
    BSTR copy = SysAllocString(text);
    SysFreeString(m_str);
    m_str = copy;
    return *this;
  }
  operator BSTR() const noexcept { return m_str; }
  // The address for an out-parameter; the string held until now is freed first.
  BSTR* operator&() noexcept {
    Empty();
    return &m_str;
  }
  unsigned int Length() const noexcept { return SysStringLen(m_str); }
  unsigned int ByteLength() const noexcept { return SysStringByteLen(m_str); }
  BSTR Copy() const { return m_str == nullptr ? nullptr : SysAllocStringByteLen(reinterpret_cast<LPCSTR>(m_str), ByteLength()); }
  void Empty() noexcept {
    SysFreeString(m_str);
    m_str = nullptr;
  }
  void Attach(BSTR other) noexcept {
    SysFreeString(m_str);
    m_str = other;
  }
  BSTR Detach() noexcept {
    BSTR held = m_str;
    m_str = nullptr;
    return held;
  }

  BSTR m_str;
};

class CComVariant : public VARIANT {
  // MinGW-w64 declares VariantCopy's source without const; it does not change it.
  static HRESULT CopyFrom(VARIANT* destination, const VARIANT* source) {
    return VariantCopy(destination, const_cast<VARIANT*>(source));
  }

 public:
  CComVariant() noexcept { VariantInit(this); }
  CComVariant(const VARIANT& other) {
    VariantInit(this);
    CopyFrom(this, &other);
  }
  CComVariant(const CComVariant& other) : CComVariant(static_cast<const VARIANT&>(other)) {}
  CComVariant(LPCOLESTR text) {
    VariantInit(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(text);
  }
  CComVariant(bool value) noexcept {
    VariantInit(this);
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
  CComVariant(LONG value, VARTYPE type = VT_I4) noexcept {
    VariantInit(this);
    vt = type;
    lVal = value;
  }
  CComVariant(IDispatch* value) noexcept {
    VariantInit(this);
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value != nullptr) value->AddRef();
  }
  ~CComVariant() { VariantClear(this); }
  CComVariant& operator=(const CComVariant& other) {
    if (this != std::addressof(other)) CopyFrom(this, &other);
    return *this;
  }
  CComVariant& operator=(const VARIANT& other) {
    if (this != std::addressof(other)) CopyFrom(this, &other);
    return *this;
  }
  HRESULT Clear() { return VariantClear(this); }
  HRESULT Copy(const VARIANT* source) { return CopyFrom(this, source); }
  // Moves this value into *destination (cleared first) and leaves this one empty.
  HRESULT Detach(VARIANT* destination) {
    if (destination == nullptr) return E_POINTER;
    HRESULT hr = VariantClear(destination);
    if (FAILED(hr)) return hr;
    *destination = *static_cast<VARIANT*>(this);
    vt = VT_EMPTY;
    return S_OK;
  }
};

// Connects sink to the connection point for iid of source; *cookie names the connection for
// AtlUnadvise.
inline HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, const IID& iid, DWORD* cookie) {
  if (source == nullptr) return E_INVALIDARG;
  CComQIPtr<IConnectionPointContainer> points(source);
  if (points == nullptr) return E_NOINTERFACE;
  CComPtr<IConnectionPoint> point;
  const HRESULT hr = points->FindConnectionPoint(iid, &point);
  return SUCCEEDED(hr) ? point->Advise(sink, cookie) : hr;
}

inline HRESULT AtlUnadvise(IUnknown* source, const IID& iid, DWORD cookie) {
  if (source == nullptr) return E_INVALIDARG;
  CComQIPtr<IConnectionPointContainer> points(source);
  if (points == nullptr) return E_NOINTERFACE;
  CComPtr<IConnectionPoint> point;
  const HRESULT hr = points->FindConnectionPoint(iid, &point);
  return SUCCEEDED(hr) ? point->Unadvise(cookie) : hr;
}
