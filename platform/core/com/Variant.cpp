// Variants: clearing frees what the variant owns, copying duplicates it; by-reference
// variants own nothing.
#include "oleauto.h"

#include "core/com/SafeArray.h"

namespace {

bool HoldsPlainValue(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_ERROR:
      return true;
    default:
      return false;
  }
}

bool IsKnown(VARTYPE vt) {
  if (vt & VT_BYREF) return true;
  if (vt & VT_ARRAY) return true;
  return HoldsPlainValue(vt) || vt == VT_BSTR || vt == VT_DISPATCH || vt == VT_UNKNOWN;
}

}  // namespace

void VariantInit(VARIANTARG* variant) {
  if (variant == nullptr) return;
  variant->vt = VT_EMPTY;
  variant->wReserved1 = variant->wReserved2 = variant->wReserved3 = 0;
  variant->llVal = 0;
}

HRESULT VariantClear(VARIANTARG* variant) {
  if (variant == nullptr) return E_INVALIDARG;
  const VARTYPE vt = variant->vt;
  if (!IsKnown(vt)) return DISP_E_BADVARTYPE;
  if (!(vt & VT_BYREF)) {
    if (vt & VT_ARRAY) {
      const HRESULT hr = SafeArrayDestroy(variant->parray);
      if (FAILED(hr)) return hr;
    } else if (vt == VT_BSTR) {
      SysFreeString(variant->bstrVal);
    } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && variant->punkVal != nullptr) {
      variant->punkVal->Release();
    }
  }
  VariantInit(variant);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
  if (destination == nullptr || source == nullptr) return E_INVALIDARG;
  if (destination == source) return S_OK;
  if (!IsKnown(source->vt)) return DISP_E_BADVARTYPE;
  HRESULT hr = VariantClear(destination);
  if (FAILED(hr)) return hr;
  VARIANT copy = *source;
  const VARTYPE vt = source->vt;
  if (!(vt & VT_BYREF)) {
    if (vt & VT_ARRAY) {
      hr = CopySafeArray(source->parray, &copy.parray);
      if (FAILED(hr)) return hr;
    } else if (vt == VT_BSTR && source->bstrVal != nullptr) {
      // The byte length carries odd lengths and embedded zeros over exactly.
      copy.bstrVal = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(source->bstrVal), SysStringByteLen(source->bstrVal));
      if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
    } else if ((vt == VT_DISPATCH || vt == VT_UNKNOWN) && source->punkVal != nullptr) {
      source->punkVal->AddRef();
    }
  }
  *destination = copy;
  return S_OK;
}
