// BSTRs, variants and counted references: the layouts and ownership rules the browser host
// relies on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <atlbase.h>
#include <objbase.h>

namespace {

// An object that counts its references and never deletes itself.
struct CountedObject : IDispatch {
  ULONG references = 1;
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IDispatch) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

DWORD PrefixOf(BSTR bstr) {
  DWORD prefix;
  std::memcpy(&prefix, reinterpret_cast<const char*>(bstr) - 4, 4);
  return prefix;
}

TEST(Bstr, TheLengthPrefixCountsEveryUnitAndAZeroUnitFollows) {
  struct Case {
    const char* name;
    std::u16string text;
  } cases[] = {
      {"plain text", u"openfolder:C:%5C"},
      {"embedded zeros count", std::u16string(u"a\0b\0", 4)},
      {"empty", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BSTR bstr = SysAllocStringLen(c.text.data(), static_cast<UINT>(c.text.size()));
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(bstr), c.text.size());
    EXPECT_EQ(SysStringByteLen(bstr), 2 * c.text.size());
    EXPECT_EQ(PrefixOf(bstr), 2 * c.text.size());
    EXPECT_EQ(std::u16string(bstr, SysStringLen(bstr)), c.text);
    EXPECT_EQ(bstr[c.text.size()], u'\0');
    SysFreeString(bstr);
  }
  // SysAllocString stops at the first zero; a null text gives a null BSTR, whose length is 0.
  BSTR cut = SysAllocString(u"ab\0cd");
  EXPECT_EQ(SysStringLen(cut), 2u);
  SysFreeString(cut);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  // An odd byte length is kept exactly, and the units still end with a zero.
  BSTR odd = SysAllocStringByteLen("abc", 3);
  EXPECT_EQ(SysStringByteLen(odd), 3u);
  EXPECT_EQ(SysStringLen(odd), 1u);
  EXPECT_EQ(reinterpret_cast<const char*>(odd)[3], '\0');
  EXPECT_EQ(reinterpret_cast<const char*>(odd)[4], '\0');
  SysFreeString(odd);
}

TEST(Variant, ClearingFreesWhatTheVariantOwnsAndNothingItOnlyPointsTo) {
  CountedObject object;
  VARIANT owned;
  VariantInit(&owned);
  owned.vt = VT_DISPATCH;
  owned.pdispVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&owned), S_OK);
  EXPECT_EQ(owned.vt, VT_EMPTY);
  EXPECT_EQ(object.references, 1u);

  IDispatch* pointer = &object;
  VARIANT borrowed;
  VariantInit(&borrowed);
  borrowed.vt = VT_BYREF | VT_DISPATCH;
  borrowed.ppdispVal = &pointer;
  EXPECT_EQ(VariantClear(&borrowed), S_OK);
  EXPECT_EQ(borrowed.vt, VT_EMPTY);
  EXPECT_EQ(object.references, 1u);

  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(u"x");
  EXPECT_EQ(VariantClear(&text), S_OK);
  EXPECT_EQ(text.vt, VT_EMPTY);

  VARIANT unknownKind;
  VariantInit(&unknownKind);
  unknownKind.vt = 0x0FFF;
  EXPECT_EQ(VariantClear(&unknownKind), DISP_E_BADVARTYPE);
  EXPECT_EQ(unknownKind.vt, 0x0FFF);
}

TEST(Variant, CopyingDuplicatesStringsArraysAndReferences) {
  CountedObject object;
  CComVariant dispatch(static_cast<IDispatch*>(&object));
  EXPECT_EQ(object.references, 2u);
  {
    CComVariant copy(dispatch);
    EXPECT_EQ(object.references, 3u);
  }
  EXPECT_EQ(object.references, 2u);

  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocStringLen(u"a\0b", 3);
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
  EXPECT_NE(copy.bstrVal, text.bstrVal);
  EXPECT_EQ(std::u16string(copy.bstrVal, SysStringLen(copy.bstrVal)), std::u16string(u"a\0b", 3));
  VariantClear(&text);
  VariantClear(&copy);

  VARIANT bytes;
  VariantInit(&bytes);
  bytes.vt = VT_ARRAY | VT_UI1;
  bytes.parray = SafeArrayCreateVector(VT_UI1, 0, 3);
  std::memcpy(bytes.parray->pvData, "xyz", 3);
  ASSERT_EQ(VariantCopy(&copy, &bytes), S_OK);
  EXPECT_NE(copy.parray, bytes.parray);
  LONG upper = 0;
  SafeArrayGetUBound(copy.parray, 1, &upper);
  EXPECT_EQ(upper, 2);
  EXPECT_EQ(std::memcmp(copy.parray->pvData, "xyz", 3), 0);
  // A locked array is not destroyed under its user.
  void* data = nullptr;
  SafeArrayAccessData(copy.parray, &data);
  EXPECT_EQ(VariantClear(&copy), DISP_E_ARRAYISLOCKED);
  SafeArrayUnaccessData(copy.parray);
  EXPECT_EQ(VariantClear(&copy), S_OK);
  VariantClear(&bytes);
}

TEST(CComPtr, HoldsOneReferenceForItsScopeAndLetsGoOfAReusedOne) {
  CountedObject object;
  {
    CComPtr<IDispatch> held(&object);
    EXPECT_EQ(object.references, 2u);
    CComPtr<IDispatch> copy = held;
    EXPECT_EQ(object.references, 3u);
    CComPtr<IDispatch> moved = std::move(copy);
    EXPECT_EQ(object.references, 3u);
    EXPECT_EQ(copy, nullptr);
  }
  EXPECT_EQ(object.references, 1u);

  CComPtr<IUnknown> unknown;
  object.AddRef();
  unknown.Attach(&object);
  EXPECT_EQ(object.references, 2u);
  // Used again as an out-parameter, the pointer first lets go of what it held.
  EXPECT_EQ(object.QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(object.references, 2u);
  IUnknown* detached = unknown.Detach();
  EXPECT_EQ(detached, static_cast<IUnknown*>(&object));
  EXPECT_EQ(object.references, 2u);
  detached->Release();

  CComQIPtr<IDispatch> asked(static_cast<IUnknown*>(&object));
  EXPECT_EQ(asked, static_cast<IDispatch*>(&object));
  EXPECT_EQ(object.references, 2u);
  CComPtr<IStream> none;
  EXPECT_EQ(asked.QueryInterface(&none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
}

}  // namespace
