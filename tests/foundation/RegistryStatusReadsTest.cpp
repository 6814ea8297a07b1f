// Registry reads that report a status, and the owned key handle.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "WideText.h"
#include "foundation/RegistryTryReads.h"
#ifndef _WIN32
#include "core/registry/RegistryHive.h"
#endif

namespace {

constexpr BYTE kOdd[] = {'a', 0, 'b'};

// The same key on both systems: written through the API into the test run's own Wine prefix,
// and given to the stand-in as its machine hive, whose registry cannot be written.
#ifdef _WIN32
class RegistryStatusReads : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\T", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    const auto set = [key](const wchar_t* name, DWORD type, const void* data, DWORD size) {
      ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size));
    };
    set(L"Text", REG_SZ, L"value", 12);
    set(L"Inner", REG_SZ, L"ab\0cd", 10);
    set(L"Odd", REG_SZ, kOdd, 3);
    set(L"Empty", REG_SZ, nullptr, 0);
    set(L"Expand", REG_EXPAND_SZ, L"%x%", 8);
    RegCloseKey(key);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\T"); }
};
#else
class RegistryStatusReads : public ::testing::Test {
 protected:
  void SetUp() override {
    auto hive = std::make_shared<core::RegistryHive>();
    const auto key = hive->AddPath(WIDE("SOFTWARE\\T"));
    hive->SetString(key, WIDE("Text"), WIDE("value"));
    hive->SetValue(key, WIDE("Inner"), REG_SZ, WIDE("ab\0cd"), 10);
    hive->SetValue(key, WIDE("Odd"), REG_SZ, kOdd, 3);
    hive->SetValue(key, WIDE("Empty"), REG_SZ, nullptr, 0);
    hive->SetString(key, WIDE("Expand"), WIDE("%x%"), REG_EXPAND_SZ);
    core::InstallMachineHive(hive);
  }
  void TearDown() override { core::InstallMachineHive(nullptr); }
};
#endif

TEST_F(RegistryStatusReads, OpenTakesTheNewKeyOnlyOnSuccess) {
  RegistryKey key;
  EXPECT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, WIDE("SOFTWARE\\T"), key));
  ASSERT_TRUE(key.IsOpen());
  const HKEY first = key.Get();
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, WIDE("SOFTWARE\\Missing"), key));
  EXPECT_EQ(first, key.Get());  // left as it was
  EXPECT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, WIDE("SOFTWARE"), key));
  EXPECT_NE(first, key.Get());
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(first));  // the key it held was closed
  const HKEY last = key.Get();
  { RegistryKey moved(std::move(key)); }
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(last));  // closed by its owner's destructor
}

TEST_F(RegistryStatusReads, ReadStringReportsStatusAndKeepsTextOnFailure) {
  RegistryKey key;
  ASSERT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, WIDE("SOFTWARE\\T"), key));
  struct Case {
    const WCHAR* name;
    LSTATUS status;
    WString text;  // starting from "unchanged"
  } cases[] = {
      {WIDE("Text"), ERROR_SUCCESS, WIDE("value")},
      {WIDE("Inner"), ERROR_SUCCESS, WIDE("ab")},  // cut at the first zero unit
      {WIDE("Odd"), ERROR_SUCCESS, WIDE("ab")},    // 3 bytes: two units, the second half-filled ("b", 0)
      {WIDE("Empty"), ERROR_SUCCESS, WIDE("")},    // no error here
      {WIDE("Expand"), ERROR_SUCCESS, WIDE("unchanged")},  // another type: text untouched, status 0
      {WIDE("Missing"), ERROR_FILE_NOT_FOUND, WIDE("unchanged")},
  };
  for (const Case& c : cases) {
    WString text = WIDE("unchanged");
    EXPECT_EQ(c.status, TryReadRegistryString(key.Get(), c.name, text));
    EXPECT_EQ(c.text, text) << WStringView(c.name).size();
  }
  WString text = WIDE("unchanged");
  EXPECT_EQ(ERROR_INVALID_HANDLE, TryReadRegistryString(nullptr, WIDE("Text"), text));
  EXPECT_EQ(WIDE("unchanged"), text);
}

}  // namespace
