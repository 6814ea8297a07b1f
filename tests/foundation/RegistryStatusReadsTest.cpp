// Registry reads that report a status, and the owned key handle.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "core/registry/RegistryHive.h"
#include "foundation/RegistryTryReads.h"

namespace {

constexpr BYTE kOdd[] = {'a', 0, 'b'};

class RegistryStatusReads : public ::testing::Test {
 protected:
  void SetUp() override {
    auto hive = std::make_shared<core::RegistryHive>();
    const auto key = hive->AddPath(u"SOFTWARE\\T");
    hive->SetString(key, u"Text", u"value");
    hive->SetValue(key, u"Inner", REG_SZ, u"ab\0cd", 10);
    hive->SetValue(key, u"Odd", REG_SZ, kOdd, 3);
    hive->SetValue(key, u"Empty", REG_SZ, nullptr, 0);
    hive->SetString(key, u"Expand", u"%x%", REG_EXPAND_SZ);
    core::InstallMachineHive(hive);
  }
  void TearDown() override { core::InstallMachineHive(nullptr); }
};

TEST_F(RegistryStatusReads, OpenTakesTheNewKeyOnlyOnSuccess) {
  RegistryKey key;
  EXPECT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\T", key));
  ASSERT_TRUE(key.IsOpen());
  const HKEY first = key.Get();
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Missing", key));
  EXPECT_EQ(first, key.Get());  // left as it was
  EXPECT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE", key));
  EXPECT_NE(first, key.Get());
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(first));  // the key it held was closed
  const HKEY last = key.Get();
  { RegistryKey moved(std::move(key)); }
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(last));  // closed by its owner's destructor
}

TEST_F(RegistryStatusReads, ReadStringReportsStatusAndKeepsTextOnFailure) {
  RegistryKey key;
  ASSERT_EQ(ERROR_SUCCESS, TryOpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\T", key));
  struct Case {
    const char16_t* name;
    LSTATUS status;
    std::u16string text;  // starting from "unchanged"
  } cases[] = {
      {u"Text", ERROR_SUCCESS, u"value"},
      {u"Inner", ERROR_SUCCESS, u"ab"},  // cut at the first zero unit
      {u"Odd", ERROR_SUCCESS, u"ab"},    // 3 bytes: two units, the second half-filled ("b", 0)
      {u"Empty", ERROR_SUCCESS, u""},    // no error here
      {u"Expand", ERROR_SUCCESS, u"unchanged"},  // another type: text untouched, status 0
      {u"Missing", ERROR_FILE_NOT_FOUND, u"unchanged"},
  };
  for (const Case& c : cases) {
    std::u16string text = u"unchanged";
    EXPECT_EQ(c.status, TryReadRegistryString(key.Get(), c.name, text));
    EXPECT_EQ(c.text, text) << std::u16string_view(c.name).size();
  }
  std::u16string text = u"unchanged";
  EXPECT_EQ(ERROR_INVALID_HANDLE, TryReadRegistryString(nullptr, u"Text", text));
  EXPECT_EQ(u"unchanged", text);
}

}  // namespace
