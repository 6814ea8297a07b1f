// Reading an event's address from its variant, whatever way the caller wrapped it.
#include <BstrText.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BstrText, TheAddressIsFoundBehindEveryWrappingAndOnlyInATextVariant) {
  BSTR address = SysAllocStringLen(u"page:a\0b", 8);  // an embedded zero is kept
  const auto make = [](VARTYPE type) {
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    return v;
  };
  VARIANT text = make(VT_BSTR);
  text.bstrVal = address;
  VARIANT byReference = make(VT_BYREF | VT_BSTR);
  byReference.pbstrVal = &address;
  VARIANT wrapped = make(VT_BYREF | VT_VARIANT);
  wrapped.pvarVal = &byReference;
  VARIANT twice = make(VT_BYREF | VT_VARIANT);
  twice.pvarVal = &wrapped;
  VARIANT nullText = make(VT_BSTR);
  nullText.bstrVal = nullptr;
  VARIANT nullReference = make(VT_BYREF | VT_BSTR);
  nullReference.pbstrVal = nullptr;
  VARIANT number = make(VT_I4);
  number.lVal = 7;
  VARIANT wrappedNothing = make(VT_BYREF | VT_VARIANT);
  wrappedNothing.pvarVal = nullptr;

  struct Row {
    const char* name;
    const VARIANT* variant;
    bool found;
  };
  const Row rows[] = {
      {"text", &text, true},
      {"text by reference", &byReference, true},
      {"behind a referenced variant", &wrapped, true},
      {"behind two", &twice, true},
      {"a null text", &nullText, false},
      {"a null reference", &nullReference, false},
      {"a number", &number, false},
      {"a reference to nothing", &wrappedNothing, false},
      {"no variant", nullptr, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(core::BstrOf(row.variant), row.found ? address : nullptr);
    EXPECT_EQ(core::TextOf(row.variant), row.found ? std::u16string(u"page:a\0b", 8) : std::u16string());
  }
  EXPECT_EQ(core::Dereferenced(&twice), &byReference);
  SysFreeString(address);
}

}  // namespace
