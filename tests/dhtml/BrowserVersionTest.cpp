// Dotted version texts and the browser version check that decides page styling.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "core/registry/RegistryHive.h"

namespace {

std::string Text(const DottedVersion& v) {
  return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build) + "." +
         std::to_string(v.revision) + " (" + std::to_string(v.count) + ")";
}

TEST(ParseDottedVersion, ComponentsAndFailures) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"9.11.19041.0", "9.11.19041.0 (4)"},
      {"7", "7.0.0.0 (1)"},
      {"7,0", "7.0.0.0 (2)"},  // a comma separates like a dot
      {"7..1", "7.0.1.0 (3)"},  // separators in a row give 0
      {"7.", "7.0.0.0 (2)"},
      {".7", "0.7.0.0 (2)"},
      {"65535.1", "65535.1.0.0 (2)"},
      {"1.2.3.", "1.2.3.0 (4)"},  // the end closes the fourth component
      // Failures give "no version".
      {"", "0.0.0.0 (4)"},
      {"7.0.0.0.0", "0.0.0.0 (4)"},  // a fifth component
      {"1.2.3.4.", "0.0.0.0 (4)"},
      {"7a", "0.0.0.0 (4)"},
      {"70000.1", "0.0.0.0 (4)"},  // above 16 bits
      {"65536", "0.0.0.0 (4)"},
      {"-7", "0.0.0.0 (4)"},
      {" 7", "0.0.0.0 (4)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(ParseDottedVersion(UStringRef<UTF8>(std::string_view(c.text)))), c.expected) << c.text;
  }
}

TEST(IsVersionAtLeast, ComparesOverTheShorterCount) {
  const DottedVersion seven{7, 0, 0, 0, 4};
  struct Case {
    DottedVersion version;
    DottedVersion minimum;
    bool expected;
  } cases[] = {
      {{7, 0, 0, 0, 4}, seven, true},
      {{6, 9, 9, 9, 4}, seven, false},
      {{11, 0, 0, 0, 2}, seven, true},
      {{7, 0, 0, 0, 1}, seven, true},
      {{6, 0, 2900, 2180, 4}, seven, false},
      {{0, 0, 0, 0, 4}, seven, false},  // no version
      {{7, 0, 0, 1, 4}, {7, 0, 0, 2, 4}, false},  // the last component decides
      {{7, 1, 0, 0, 2}, {7, 0, 9, 0, 4}, true},  // the first difference decides
      {{7, 0, 0, 0, 4}, {7, 0, 5, 0, 2}, true},  // only two components compared
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsVersionAtLeast(c.version, c.minimum), c.expected) << Text(c.version) << " >= " << Text(c.minimum);
  }
}

struct StoredVersion {
  DWORD type;
  std::vector<BYTE> bytes;
};

StoredVersion Sz(std::u16string_view text) {
  std::vector<BYTE> bytes;
  for (char16_t unit : text) bytes.insert(bytes.end(), {static_cast<BYTE>(unit & 0xFF), static_cast<BYTE>(unit >> 8)});
  bytes.insert(bytes.end(), {0, 0});
  return {REG_SZ, bytes};
}

// Installs the browser's key with the "Version" value, or without it; `noKey` leaves out the key.
void InstallBrowser(const std::optional<StoredVersion>& version, bool noKey = false) {
  auto hive = std::make_shared<core::RegistryHive>();
  if (!noKey) {
    const auto key = hive->AddPath(u"Software\\Microsoft\\Internet Explorer");
    if (version) hive->SetValue(key, u"Version", version->type, version->bytes.data(), version->bytes.size());
  }
  core::InstallMachineHive(hive);
}

TEST(BrowserVersion, ReadFromTheRegistry) {
  struct Case {
    const char* what;
    std::optional<StoredVersion> version;
    bool noKey;
    bool expected;
  } cases[] = {
      {"9.11", Sz(u"9.11.19041.0"), false, true},
      {"11.0", Sz(u"11.0"), false, true},
      {"7.0", Sz(u"7.0"), false, true},
      {"7", Sz(u"7"), false, true},
      {"five components", Sz(u"7.0.0.0.0"), false, false},
      {"6.0", Sz(u"6.0.2900.2180"), false, false},
      {"empty text", Sz(u""), false, false},
      {"zero bytes", StoredVersion{REG_SZ, {}}, false, false},
      {"text cut at its zero", StoredVersion{REG_SZ, {'8', 0, 0, 0, 'x', 0}}, false, true},
      {"not text", StoredVersion{REG_DWORD, {11, 0, 0, 0}}, false, false},
      {"expandable text is not REG_SZ", StoredVersion{REG_EXPAND_SZ, Sz(u"11.0").bytes}, false, false},
      {"no value", std::nullopt, false, false},
      {"no key", std::nullopt, true, false},
  };
  for (const Case& c : cases) {
    InstallBrowser(c.version, c.noKey);
    EXPECT_EQ(ReadBrowserVersionAtLeast7(), c.expected) << c.what;
  }
}

TEST(BrowserVersion, AnswerIsKeptForTheProcess) {
  ForgetBrowserVersion();
  InstallBrowser(Sz(u"11.0"));
  EXPECT_TRUE(IsBrowserVersionAtLeast7());
  InstallBrowser(Sz(u"6.0"));
  EXPECT_TRUE(IsBrowserVersionAtLeast7());
  ForgetBrowserVersion();
  EXPECT_FALSE(IsBrowserVersionAtLeast7());
}

}  // namespace
