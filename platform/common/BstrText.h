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

// The variant an argument stands for: events pass theirs as VT_BYREF | VT_VARIANT, perhaps
// more than once over. Null stays null.
inline const VARIANT* Dereferenced(const VARIANT* v) {
  while (v != nullptr && v->vt == (VT_BYREF | VT_VARIANT)) v = v->pvarVal;
  return v;
}

// The BSTR of a VT_BSTR variant (by reference too, and behind referenced variants), as the
// variant holds it; null for any other kind. An event's address is read this way.
inline BSTR BstrOf(const VARIANT* v) {
  v = Dereferenced(v);
  if (v == nullptr) return nullptr;
  if (v->vt == VT_BSTR) return v->bstrVal;
  if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal != nullptr) return *v->pbstrVal;
  return nullptr;
}

// The text of a VT_BSTR variant (as BstrOf finds it); empty for any other kind.
inline WString TextOf(const VARIANT* v) { return TextOf(BstrOf(v)); }

}  // namespace core
