// Variants for the arguments of events and calls: texts, byte arrays, borrowed objects.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "WideText.h"
#include "atlbase.h"
#include "BstrText.h"

namespace core {

// A VT_BSTR of the text, embedded zeros kept.
inline CComVariant TextVariant(WStringView text) {
  CComVariant v;
  v.vt = VT_BSTR;
  v.bstrVal = MakeBstr(text);
  return v;
}

// A VT_ARRAY | VT_UI1 of the bytes; VT_EMPTY for no bytes, or when memory runs out.
inline CComVariant BytesVariant(const void* bytes, std::size_t size) {
  CComVariant v;
  if (bytes == nullptr || size == 0) return v;
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
  if (array == nullptr) return v;
  void* data = nullptr;
  SafeArrayAccessData(array, &data);
  std::memcpy(data, bytes, size);
  SafeArrayUnaccessData(array);
  v.vt = VT_ARRAY | VT_UI1;
  v.parray = array;
  return v;
}

// A VT_DISPATCH that borrows the object for the length of one call: no reference is taken,
// and none is given back.
inline VARIANT BorrowedDispatch(IDispatch* dispatch) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = dispatch;
  return v;
}

}  // namespace core
