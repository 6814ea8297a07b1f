// One-dimensional safe arrays. The element type sits in front of the record (the platform's
// FADF_HAVEVARTYPE layout), so that the array can free and copy elements that own something.
#include "core/com/SafeArray.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
constexpr USHORT FADF_BSTR = 0x0100;
constexpr USHORT FADF_UNKNOWN = 0x0200;
constexpr USHORT FADF_DISPATCH = 0x0400;
constexpr USHORT FADF_VARIANT = 0x0800;

struct ArrayBlock {
  VARTYPE vt;
  SAFEARRAY array;
};

ArrayBlock* BlockOf(SAFEARRAY* array) {
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(array) - offsetof(ArrayBlock, array));
}

ULONG ElementSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1: return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL: return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR: return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE: return 8;
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN: return sizeof(void*);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

USHORT FeaturesOf(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR: return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_DISPATCH: return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_UNKNOWN: return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_VARIANT: return FADF_HAVEVARTYPE | FADF_VARIANT;
    default: return FADF_HAVEVARTYPE;
  }
}

// Frees what the elements own; the storage itself stays.
void ClearElements(SAFEARRAY* array, VARTYPE vt) {
  const ULONG n = array->rgsabound[0].cElements;
  switch (vt) {
    case VT_BSTR:
      for (ULONG i = 0; i < n; ++i) SysFreeString(static_cast<BSTR*>(array->pvData)[i]);
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      for (ULONG i = 0; i < n; ++i)
        if (IUnknown* object = static_cast<IUnknown**>(array->pvData)[i]) object->Release();
      break;
    case VT_VARIANT:
      for (ULONG i = 0; i < n; ++i) VariantClear(&static_cast<VARIANT*>(array->pvData)[i]);
      break;
    default: break;
  }
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
  const ULONG size = ElementSize(vt);
  if (size == 0) return nullptr;
  if (elements > (std::size_t(-1) / 2) / size) return nullptr;
  auto* block = static_cast<ArrayBlock*>(std::calloc(1, sizeof(ArrayBlock)));
  if (block == nullptr) return nullptr;
  void* data = std::calloc(elements == 0 ? 1 : elements, size);
  if (data == nullptr) {
    std::free(block);
    return nullptr;
  }
  block->vt = vt;
  SAFEARRAY& array = block->array;
  array.cDims = 1;
  array.fFeatures = FeaturesOf(vt);
  array.cbElements = size;
  array.cLocks = 0;
  array.pvData = data;
  array.rgsabound[0] = SAFEARRAYBOUND{elements, lowerBound};
  return &array;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (array == nullptr) return S_OK;
  if (array->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  ArrayBlock* block = BlockOf(array);
  ClearElements(array, block->vt);
  std::free(array->pvData);
  std::free(block);
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (array == nullptr || data == nullptr) return E_INVALIDARG;
  ++array->cLocks;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
  if (array == nullptr) return E_INVALIDARG;
  if (array->cLocks == 0) return E_UNEXPECTED;
  --array->cLocks;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) { return array != nullptr ? array->cDims : 0; }

UINT SafeArrayGetElemsize(SAFEARRAY* array) { return array != nullptr ? array->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* lowerBound) {
  if (array == nullptr || lowerBound == nullptr) return E_INVALIDARG;
  if (dimension != 1) return DISP_E_BADINDEX;
  *lowerBound = array->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* upperBound) {
  if (array == nullptr || upperBound == nullptr) return E_INVALIDARG;
  if (dimension != 1) return DISP_E_BADINDEX;
  *upperBound = array->rgsabound[0].lLbound + static_cast<LONG>(array->rgsabound[0].cElements) - 1;
  return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
  if (array == nullptr || vt == nullptr) return E_INVALIDARG;
  *vt = BlockOf(array)->vt;
  return S_OK;
}

HRESULT CopySafeArray(SAFEARRAY* source, SAFEARRAY** copy) {
  *copy = nullptr;
  if (source == nullptr) return S_OK;
  const VARTYPE vt = BlockOf(source)->vt;
  SAFEARRAY* made = SafeArrayCreateVector(vt, source->rgsabound[0].lLbound, source->rgsabound[0].cElements);
  if (made == nullptr) return E_OUTOFMEMORY;
  const ULONG n = source->rgsabound[0].cElements;
  HRESULT hr = S_OK;
  switch (vt) {
    case VT_BSTR:
      for (ULONG i = 0; i < n && SUCCEEDED(hr); ++i) {
        BSTR from = static_cast<BSTR*>(source->pvData)[i];
        if (from == nullptr) continue;
        BSTR to = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(from), SysStringByteLen(from));
        if (to == nullptr) hr = E_OUTOFMEMORY;
        static_cast<BSTR*>(made->pvData)[i] = to;
      }
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      for (ULONG i = 0; i < n; ++i) {
        IUnknown* object = static_cast<IUnknown**>(source->pvData)[i];
        if (object != nullptr) object->AddRef();
        static_cast<IUnknown**>(made->pvData)[i] = object;
      }
      break;
    case VT_VARIANT:
      for (ULONG i = 0; i < n && SUCCEEDED(hr); ++i)
        hr = VariantCopy(&static_cast<VARIANT*>(made->pvData)[i], &static_cast<VARIANT*>(source->pvData)[i]);
      break;
    default:
      std::memcpy(made->pvData, source->pvData, static_cast<std::size_t>(n) * made->cbElements);
      break;
  }
  if (FAILED(hr)) {
    SafeArrayDestroy(made);
    return hr;
  }
  *copy = made;
  return S_OK;
}
