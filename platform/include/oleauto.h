// Automation's functions: BSTR allocation, variants and one-dimensional safe arrays.
#pragma once

#include "oaidl.h"

// A BSTR of the text up to its zero unit; null text gives null.
BSTR SysAllocString(const OLECHAR* text);
// A BSTR of length units copied from text (uninitialised units when text is null); the units
// may include zeros. Null when memory runs out.
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
// A BSTR holding length bytes (an odd count is kept exactly by the byte-length prefix).
BSTR SysAllocStringByteLen(LPCSTR bytes, UINT length);
// Replaces *bstr with a copy of text; FALSE when memory runs out (*bstr then unchanged).
INT SysReAllocString(BSTR* bstr, const OLECHAR* text);
INT SysReAllocStringLen(BSTR* bstr, const OLECHAR* text, UINT length);
void SysFreeString(BSTR bstr);
// Units and bytes from the length prefix; 0 for null.
UINT SysStringLen(BSTR bstr);
UINT SysStringByteLen(BSTR bstr);

void VariantInit(VARIANTARG* variant);
// Frees what the variant owns (a BSTR, an interface reference, a safe array; nothing for
// VT_BYREF) and leaves it VT_EMPTY. DISP_E_BADVARTYPE for a tag it does not know.
HRESULT VariantClear(VARIANTARG* variant);
// Clears destination, then copies source, deep: a new BSTR, an added reference, a new array.
HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source);

// One-dimensional arrays of fixed-size elements (VT_UI1, VT_I4, VT_VARIANT ...).
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dimension, LONG* lowerBound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dimension, LONG* upperBound);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
