// Choosing and building the guide page's path from the generator's registry values.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "app/GuideLocation.h"
#include "app/GuideLookupFailure.h"
#include "app/RegistryReading.h"
#include "core/registry/RegistryHive.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/WindowsError.h"

namespace {

struct StoredValue {
  DWORD type;
  std::vector<BYTE> bytes;
};

// A string value's bytes, with or without the zero unit.
StoredValue Sz(std::u16string_view text, bool terminated = true, DWORD type = REG_SZ) {
  std::vector<BYTE> bytes(text.size() * 2);
  if (!text.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
  if (terminated) bytes.insert(bytes.end(), {0, 0});
  return {type, bytes};
}

StoredValue Raw(DWORD type, std::vector<BYTE> bytes) { return {type, std::move(bytes)}; }

// Installs the generator's key with the values given; a missing value is left out, and
// `noKey` leaves out the key itself.
void InstallGenerator(const std::optional<StoredValue>& installFolder, const std::optional<StoredValue>& evalType,
                      bool noKey = false) {
  auto hive = std::make_shared<core::RegistryHive>();
  if (!noKey) {
    const auto key = hive->AddPath(u"SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator");
    if (installFolder) hive->SetValue(key, u"InstallFolder", installFolder->type, installFolder->bytes.data(), installFolder->bytes.size());
    if (evalType) hive->SetValue(key, u"EvalType", evalType->type, evalType->bytes.data(), evalType->bytes.size());
  }
  core::InstallMachineHive(hive);
}

enum class Failure { None, NotFound, OtherStatus, Empty, WrongType, BadText };

struct Outcome {
  Failure failure;
  std::string path;
};

Outcome Locate() {
  try {
    return {Failure::None, std::string(LocateGuidePage().view())};
  } catch (const Windows::Error& error) {
    return {error.Code() == ERROR_FILE_NOT_FOUND ? Failure::NotFound : Failure::OtherStatus, ""};
  } catch (const Windows::RegistryValueIsEmpty&) {
    return {Failure::Empty, ""};
  } catch (const Windows::WrongRegistryType&) {
    return {Failure::WrongType, ""};
  } catch (const WindowsCharacterSetResult&) {
    return {Failure::BadText, ""};
  }
}

constexpr const char* kNormal = "TsrInstallationGuide\\Content\\runvane.html";
constexpr const char* kEvaluation = "TsrEvalInstallationGuide\\Content\\runvane.html";

class GuideLocation : public ::testing::Test {
 protected:
  void TearDown() override { core::InstallMachineHive(nullptr); }
};

TEST_F(GuideLocation, ChoosesTheGuideByEvalType) {
  struct Case {
    std::u16string_view evalType;
    const char* guide;
  } cases[] = {
      {u"EvalExpress", kEvaluation}, {u"evalexpress", kEvaluation}, {u"EVALEXPRESS", kEvaluation},
      {u"EvalExpress ", kNormal},  // a whole-value match, not a prefix
      {u"EvalExpressX", kNormal},    {u"Eval", kNormal},             {u"", kNormal},
      {u"Full", kNormal},
  };
  for (const Case& c : cases) {
    InstallGenerator(Sz(u"C:\\Gen\\"), Sz(c.evalType));
    const Outcome outcome = Locate();
    EXPECT_EQ(Failure::None, outcome.failure);
    EXPECT_EQ(std::string("C:\\Gen\\") + c.guide, outcome.path) << std::string(c.evalType.begin(), c.evalType.end());
  }
}

TEST_F(GuideLocation, ReadsTheInstallFolderAsStored) {
  struct Case {
    const char* comment;
    StoredValue installFolder;
    Failure failure;
    std::string path;
  } cases[] = {
      {"trailing backslash", Sz(u"C:\\Gen\\"), Failure::None, std::string("C:\\Gen\\") + kNormal},
      {"trailing slash", Sz(u"C:/Gen/"), Failure::None, std::string("C:/Gen/") + kNormal},
      // One backslash is inserted: "C:\GenTsr..." would name a folder that cannot be meant.
      {"no trailing separator", Sz(u"C:\\Gen"), Failure::None, std::string("C:\\Gen\\") + kNormal},
      {"stored without its zero unit", Sz(u"D:\\Tsr\\", false), Failure::None, std::string("D:\\Tsr\\") + kNormal},
      {"zero unit in the middle", Sz(std::u16string_view(u"C:\\A\\\0C:\\B\\", 10)), Failure::None,
       std::string("C:\\A\\") + kNormal},
      {"only the zero unit", Sz(u""), Failure::None, kNormal},
      {"non-ASCII", Sz(u"C:\\Programme\\T\u00e9ssarin\\"), Failure::None,
       std::string("C:\\Programme\\T\xc3\xa9ssarin\\") + kNormal},
      // 5 bytes: three units, the last half-filled with the odd byte.
      {"odd byte count", Raw(REG_SZ, {'C', 0, ':', 0, '\\'}), Failure::None, std::string("C:\\") + kNormal},
      {"no bytes", Raw(REG_SZ, {}), Failure::Empty, ""},
      {"no bytes of another type", Raw(REG_DWORD, {}), Failure::Empty, ""},  // emptiness comes first
      {"REG_EXPAND_SZ", Sz(u"%ProgramFiles%\\", true, REG_EXPAND_SZ), Failure::WrongType, ""},
      {"REG_MULTI_SZ", Sz(std::u16string_view(u"C:\\\0", 4), true, REG_MULTI_SZ), Failure::WrongType, ""},
      {"REG_DWORD", Raw(REG_DWORD, {1, 0, 0, 0}), Failure::WrongType, ""},
      {"unpaired surrogate", Sz(u"C:\\\xd800\\"), Failure::BadText, ""},
  };
  for (const Case& c : cases) {
    InstallGenerator(c.installFolder, Sz(u"Full"));
    const Outcome outcome = Locate();
    EXPECT_EQ(c.failure, outcome.failure) << c.comment;
    EXPECT_EQ(c.path, outcome.path) << c.comment;
  }
}

TEST_F(GuideLocation, BothValuesAndTheKeyAreRequired) {
  struct Case {
    const char* comment;
    std::optional<StoredValue> installFolder, evalType;
    bool noKey;
    Failure failure;
  } cases[] = {
      {"no key", Sz(u"C:\\"), Sz(u"Full"), true, Failure::NotFound},
      {"no InstallFolder", std::nullopt, Sz(u"Full"), false, Failure::NotFound},
      {"no EvalType: no fallback to the normal guide", Sz(u"C:\\"), std::nullopt, false, Failure::NotFound},
      {"EvalType of no bytes", Sz(u"C:\\"), Raw(REG_SZ, {}), false, Failure::Empty},
      {"EvalType REG_EXPAND_SZ", Sz(u"C:\\"), Sz(u"EvalExpress", true, REG_EXPAND_SZ), false, Failure::WrongType},
      {"EvalType REG_DWORD", Sz(u"C:\\"), Raw(REG_DWORD, {1, 0, 0, 0}), false, Failure::WrongType},
      // InstallFolder is read first, so its failure is the one reported.
      {"both unusable", Raw(REG_BINARY, {1}), Raw(REG_SZ, {}), false, Failure::WrongType},
  };
  for (const Case& c : cases) {
    InstallGenerator(c.installFolder, c.evalType, c.noKey);
    EXPECT_EQ(c.failure, Locate().failure) << c.comment;
  }
}

TEST_F(GuideLocation, KeysAreClosedOnSuccessAndFailure) {
  // Handles go up in steps of 4 and are never handed out twice, so the two keys that
  // LocateGuidePage opens are the two after the probe; closing them again must fail.
  InstallGenerator(Sz(u"C:\\"), Raw(REG_DWORD, {1, 0, 0, 0}));
  HKEY before = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE", 0, KEY_READ, &before));
  RegCloseKey(before);
  EXPECT_EQ(Failure::WrongType, Locate().failure);
  const auto handle = [&](int steps) {
    return reinterpret_cast<HKEY>(reinterpret_cast<ULONG_PTR>(before) + 4 * static_cast<ULONG_PTR>(steps));
  };
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(handle(1)));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(handle(2)));
}

// The user learns which key could not be opened, or which value of it could not be read, and
// why.
TEST_F(GuideLocation, AFailureIsToldWithTheKeyOrValueItConcerns) {
  constexpr const char* kKey = "\"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tessarin\\Tsr Installation Generator\"";
  struct Case {
    const char* comment;
    std::optional<StoredValue> installFolder, evalType;
    bool noKey;
    std::string what;
    const char* error;
  } cases[] = {
      {"no key", Sz(u"C:\\"), Sz(u"Full"), true, std::string("registry key ") + kKey + " could not be opened",
       "Windows Error 0x2: "},
      {"no EvalType", Sz(u"C:\\"), std::nullopt, false,
       std::string("registry value \"EvalType\" of the key ") + kKey + " could not be read", "Windows Error 0x2: "},
      {"EvalType REG_DWORD", Sz(u"C:\\"), Raw(REG_DWORD, {1, 0, 0, 0}), false,
       std::string("registry value \"EvalType\" of the key ") + kKey + " could not be read", "WrongRegistryType"},
  };
  for (const Case& c : cases) {
    InstallGenerator(c.installFolder, c.evalType, c.noKey);
    GuideLookupProgress progress;
    try {
      LocateGuidePage(progress);
      ADD_FAILURE() << c.comment << ": the lookup succeeded";
    } catch (const std::exception& error) {
      const std::string text(DescribeGuideLookupFailure(progress, error).view());
      EXPECT_NE(std::string::npos, text.find(c.what)) << c.comment << ": " << text;
      EXPECT_NE(std::string::npos, text.find(c.error)) << c.comment << ": " << text;
    }
  }
}

TEST(RegistryReading, QueryAndOpenRaiseThePlatformStatus) {
  auto hive = std::make_shared<core::RegistryHive>();
  const auto key = hive->AddPath(u"SOFTWARE\\T");
  hive->SetValue(key, u"Odd", REG_BINARY, "\x01\x02\x03", 3);
  core::InstallMachineHive(hive);
  const RegistryKey open = OpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\T", KEY_READ);
  const RegistryValueInfo info = QueryRegistryValue(open.Get(), u"Odd", nullptr, 0);
  EXPECT_EQ(DWORD{REG_BINARY}, info.type);
  EXPECT_EQ(3u, info.size);
  BYTE small[2];
  try {
    QueryRegistryValue(open.Get(), u"Odd", small, sizeof small);
    FAIL() << "a short buffer was accepted";
  } catch (const Windows::Error& error) {
    EXPECT_EQ(std::uint32_t{ERROR_MORE_DATA}, error.Code());
  }
  try {
    OpenRegistryKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\T", KEY_WRITE);
    FAIL() << "write access to the machine hive was granted";
  } catch (const Windows::Error& error) {
    EXPECT_EQ(std::uint32_t{ERROR_ACCESS_DENIED}, error.Code());
  }
  core::InstallMachineHive(nullptr);
}

}  // namespace
