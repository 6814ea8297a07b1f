// The registry calls as the platform documents them, over an installed in-memory hive.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include <windows.h>

#include "core/registry/RegistryHive.h"

namespace {

static_assert(KEY_READ == 0x20019);
static_assert(KEY_WRITE == 0x20006);

constexpr BYTE kFiveBytes[] = {1, 2, 3, 4, 5};

class RegistryProtocol : public ::testing::Test {
 protected:
  void SetUp() override {
    auto hive = std::make_shared<core::RegistryHive>();
    const auto key = hive->AddPath(u"SOFTWARE\\Tessarin\\Generator");
    hive->SetString(key, u"InstallFolder", u"C:\\Gen\\");
    hive->SetValue(key, u"Odd", REG_BINARY, kFiveBytes, sizeof kFiveBytes);
    hive->SetValue(key, u"Unterminated", REG_SZ, u"abc", 6);
    hive->SetValue(key, u"Empty", REG_SZ, nullptr, 0);
    hive->SetString(key, u"", u"default");
    hive->SetDword(key, u"Count", 0x01020304);
    core::InstallMachineHive(hive);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\TESSARIN\\generator", 0, KEY_READ, &key_));
  }
  void TearDown() override {
    if (key_ != nullptr) RegCloseKey(key_);
    core::InstallMachineHive(nullptr);
  }

  HKEY key_ = nullptr;
};

TEST_F(RegistryProtocol, SizeQueryWithoutBufferReportsTypeAndStoredSize) {
  struct Case {
    const char16_t* name;
    DWORD type;
    DWORD size;
  } cases[] = {
      {u"InstallFolder", REG_SZ, 16},  // 7 units and the zero unit
      {u"Odd", REG_BINARY, 5},         // odd sizes are kept
      {u"Unterminated", REG_SZ, 6},    // no zero unit was stored, none is added
      {u"Empty", REG_SZ, 0},
      {u"Count", REG_DWORD, 4},
      {u"installfolder", REG_SZ, 16},  // value names ignore ASCII case
      {u"", REG_SZ, 16},               // the default value
      {nullptr, REG_SZ, 16},           // the default value, too
  };
  for (const Case& c : cases) {
    DWORD type = 0xDEAD;
    DWORD size = 0xDEAD;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key_, c.name, nullptr, &type, nullptr, &size));
    EXPECT_EQ(c.type, type);
    EXPECT_EQ(c.size, size);
  }
}

TEST_F(RegistryProtocol, ReadsIntoBufferAndReportsMoreDataWhenTooSmall) {
  BYTE buffer[8];
  std::memset(buffer, 0xEE, sizeof buffer);
  DWORD type = 0;
  DWORD size = 4;
  EXPECT_EQ(ERROR_MORE_DATA, RegQueryValueExW(key_, u"Odd", nullptr, &type, buffer, &size));
  EXPECT_EQ(5u, size);  // the size needed
  EXPECT_EQ(DWORD{REG_BINARY}, type);

  size = 5;  // exactly enough
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key_, u"Odd", nullptr, &type, buffer, &size));
  EXPECT_EQ(5u, size);
  EXPECT_EQ(0, std::memcmp(buffer, kFiveBytes, 5));
  EXPECT_EQ(0xEE, buffer[5]);  // nothing written past the value

  size = sizeof buffer;  // more than enough: the size delivered is the value's
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key_, u"Unterminated", nullptr, &type, buffer, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(0, std::memcmp(buffer, u"abc", 6));

  DWORD count = 0;
  size = sizeof count;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key_, u"Count", nullptr, nullptr, reinterpret_cast<LPBYTE>(&count), &size));
  EXPECT_EQ(0x01020304u, count);
}

TEST_F(RegistryProtocol, FailuresHaveThePlatformsCodes) {
  HKEY other = nullptr;
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Missing", 0, KEY_READ, &other));
  EXPECT_EQ(nullptr, other);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(key_, u"Missing", nullptr, nullptr, nullptr, &size));
  // A key path is relative: it never starts with a separator.
  EXPECT_EQ(ERROR_BAD_PATHNAME, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\SOFTWARE", 0, KEY_READ, &other));
  // The machine hive is read-only here.
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_WRITE, &other));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_ALL_ACCESS, &other));
  // The view flags ask for no write access.
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_READ | KEY_WOW64_32KEY, &other));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(other));

  BYTE buffer[4];
  DWORD reserved = 0;
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(key_, u"Odd", &reserved, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegQueryValueExW(key_, u"Odd", nullptr, nullptr, buffer, nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_READ, nullptr));
}

TEST_F(RegistryProtocol, HandlesAreCheckedAndNeverReused) {
  const HKEY bogus = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234));
  DWORD size = 0;
  HKEY other = nullptr;
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExW(bogus, u"Odd", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegOpenKeyExW(bogus, u"x", 0, KEY_READ, &other));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));

  HKEY first = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key_, nullptr, 0, KEY_READ, &first));  // the same key again
  EXPECT_NE(first, key_);
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(first, u"Odd", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(first));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(first));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryValueExW(first, u"Odd", nullptr, nullptr, nullptr, &size));
  HKEY second = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(key_, u"", 0, KEY_READ, &second));
  EXPECT_NE(first, second);
  RegCloseKey(second);

  // Closing a predefined key succeeds and leaves it usable.
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(HKEY_LOCAL_MACHINE));
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_READ, &other));
  RegCloseKey(other);
}

TEST_F(RegistryProtocol, OpenKeysStayOnTheHiveTheyWereOpenedOn) {
  core::InstallMachineHive(nullptr);
  DWORD size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key_, u"Odd", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(5u, size);
  HKEY other = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_READ, &other));
  // The other roots are empty here.
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &other));
}

TEST(RegistryHive, LaterValueOfTheSameNameReplacesAndKeysKeepTheirFirstSpelling) {
  core::RegistryHive hive;
  const auto key = hive.AddPath(u"Software\\Wine");
  EXPECT_EQ(key, hive.AddPath(u"SOFTWARE\\\\wine\\"));  // empty components are skipped
  EXPECT_EQ(u"Wine", hive.KeyName(key));
  hive.SetDword(key, u"V", 1);
  hive.SetString(key, u"v", u"two");
  const auto value = hive.FindValue(key, u"V");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(DWORD{REG_SZ}, value->type);
  EXPECT_EQ(8u, value->size);
  EXPECT_EQ(3u, hive.KeyCount());  // the root, Software and Wine
}

}  // namespace
