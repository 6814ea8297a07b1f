// Between BSTRs and the texts of the engine seam.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>
#include <oleauto.h>

#include "WideText.h"

namespace core {

// A new BSTR of the text (embedded zeros kept); null when memory runs out.
inline BSTR MakeBstr(WStringView text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// The BSTR's units, as many as its length prefix says; a null BSTR is the empty text.
inline WString TextOf(BSTR bstr) {
  return bstr == nullptr ? WString() : WString(bstr, SysStringLen(bstr));
}

// The text of a VT_BSTR variant (by reference too); empty for any other kind.
inline WString TextOf(const VARIANT* v) {
  if (v == nullptr) return WString();
  if (v->vt == VT_BSTR) return TextOf(v->bstrVal);
  if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal != nullptr) return TextOf(*v->pbstrVal);
  if (v->vt == (VT_BYREF | VT_VARIANT)) return TextOf(v->pvarVal);
  return WString();
}

}  // namespace core
