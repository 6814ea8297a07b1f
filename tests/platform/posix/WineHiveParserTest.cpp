// Reading Wine's text form of the machine hive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/registry/RegistryHive.h"
#include "posix/RegistryHiveError.h"
#include "posix/WineHiveParser.h"
#include "windows.h"

namespace {

using core::RegistryHive;

std::vector<BYTE> Bytes(std::u16string_view text) {
  std::vector<BYTE> bytes(text.size() * 2);
  if (!text.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
  return bytes;
}

std::vector<BYTE> Bytes(std::initializer_list<int> list) { return std::vector<BYTE>(list.begin(), list.end()); }

struct Stored {
  DWORD type;
  std::vector<BYTE> data;
  bool operator==(const Stored&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Stored& value) {
  out << "type " << value.type << ", bytes";
  for (BYTE b : value.data) out << ' ' << int(b);
  return out;
}

Stored Value(const RegistryHive& hive, std::u16string_view key, std::u16string_view name) {
  const auto id = hive.FindPath(key);
  if (!id) return {0xFFFFFFFF, {}};
  const auto value = hive.FindValue(*id, name);
  if (!value) return {0xFFFFFFFE, {}};
  return {value->type, std::vector<BYTE>(value->data, value->data + value->size)};
}

constexpr std::u16string_view kGenerator = u"Software\\Tessarin\\Tsr Installation Generator";

TEST(WineHiveParser, ReadsEveryValueForm) {
  const auto hive = posix::LoadWineHive(TSR_TEST_DATA "/forms.reg");
  struct Case {
    std::u16string_view name;
    Stored expected;
  } cases[] = {
      // Strings are stored with their zero unit.
      {u"InstallFolder", {REG_SZ, Bytes(std::u16string_view(u"C:\\Program Files (x86)\\Tessarin\\\0", 33))}},
      {u"Quote", {REG_SZ, Bytes(std::u16string_view(u"say \"hi\"\0", 9))}},
      {u"Controls", {REG_SZ, Bytes(std::u16string_view(u"a\nb\rc\td\0", 8))}},
      // \x takes up to four hex digits; \0 is an octal escape.
      {u"Hex", {REG_SZ, Bytes(std::u16string_view(u"caf\u00e9 \u20ac\0", 7))}},
      {u"Zero", {REG_SZ, Bytes(std::u16string_view(u"a\0b\0", 4))}},
      {u"Utf8", {REG_SZ, Bytes(std::u16string_view(u"caf\u00e9\0", 5))}},
      // Non-ASCII text and escapes past the first eight plain bytes.
      {u"LongUtf8", {REG_SZ, Bytes(std::u16string_view(u"Program Files f\u00fcr Tessarin und \"G\u00e4ste\"\0", 39))}},
      {u"", {REG_SZ, Bytes(std::u16string_view(u"default\0", 8))}},
      {u"Expand", {REG_EXPAND_SZ, Bytes(std::u16string_view(u"%SystemRoot%\\system32\0", 22))}},
      {u"Multi", {REG_MULTI_SZ, Bytes(std::u16string_view(u"one\0two\0\0", 9))}},
      {u"Binary", {REG_BINARY, Bytes({0x01, 0x02, 0xff})}},
      // A byte list continued on the next line.
      {u"Long", {REG_MULTI_SZ, Bytes(std::u16string_view(u"one\0two\0\0", 9))}},
      {u"EmptyHex", {REG_BINARY, {}}},
      {u"Count", {REG_DWORD, Bytes({0x1e, 0, 0, 0})}},
      {u"Name with = and \"quotes\"", {REG_SZ, Bytes(std::u16string_view(u"x\0", 2))}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Value(*hive, kGenerator, c.name)) << std::string(c.name.begin(), c.name.end());
  }
  EXPECT_EQ((Stored{REG_DWORD, Bytes({0x2d, 0x0b, 0, 0})}),
            Value(*hive, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", u"UBR"));
}

TEST(WineHiveParser, KeysOfAnotherLetterCaseAreTheSameKey) {
  const auto hive = posix::LoadWineHive(TSR_TEST_DATA "/forms.reg");
  const auto tessarin = hive->FindPath(u"SOFTWARE\\tessarin");
  ASSERT_TRUE(tessarin.has_value());
  EXPECT_EQ(u"Tessarin", hive->KeyName(*tessarin));  // the first spelling is kept
  EXPECT_TRUE(hive->FindChild(*tessarin, u"other").has_value());
  EXPECT_TRUE(hive->FindChild(*tessarin, u"Tsr Installation Generator").has_value());
  // The root, Software, Tessarin, the generator, Other, Microsoft, Windows NT, CurrentVersion.
  EXPECT_EQ(8u, hive->KeyCount());
}

// Each key line builds the same tree as adding its path afresh would, however much of it the
// line shares with the line before.
TEST(WineHiveParser, KeyLinesSharingPartsOfTheirPathsFindTheRightKeys) {
  const std::vector<std::pair<std::string, std::u16string>> lines = {
      {"[A\\\\B\\\\C]", u"A\\B\\C"},
      {"[A\\\\B\\\\D]", u"A\\B\\D"},
      {"[A\\\\BX\\\\E]", u"A\\BX\\E"},  // shares bytes, not the component
      {"[A\\\\B]", u"A\\B"},
      {"[A\\\\B\\\\C\\\\E]", u"A\\B\\C\\E"},
      {"[a\\\\b\\\\c\\\\F]", u"A\\B\\C\\F"},  // another letter case
      {"[A\\\\B\\\\\\\\C2]", u"A\\B\\C2"},  // a doubled separator is skipped
      {"[A\\\\B\\\\C2\\\\G]", u"A\\B\\C2\\G"},
      {"[A\\\\B\\x5cQ3]", u"A\\B\\Q3"},  // a separator written as \x5c
      {"[A\\\\B\\\\Q3\\\\H]", u"A\\B\\Q3\\H"},
      {"[A\\\\B\\\\Q3\\\\H]", u"A\\B\\Q3\\H"},  // the same key again
      {"[]", u""},
      {"[Z]", u"Z"},
  };
  std::string text = "WINE REGISTRY Version 2\n";
  core::RegistryHive expected;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i].first + " 1\n\"line\"=dword:" + std::to_string(10000000 + i) + "\n";
    expected.AddPath(lines[i].second);
  }
  const auto hive = posix::ParseWineHive(text, "t.reg");
  EXPECT_EQ(expected.KeyCount(), hive->KeyCount());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto key = hive->FindPath(lines[i].second);
    ASSERT_TRUE(key.has_value()) << lines[i].first;
    const auto value = hive->FindValue(*key, u"line");
    ASSERT_TRUE(value.has_value()) << lines[i].first;
  }
  // The last value of a key is the one of the last line that named it.
  DWORD line = 0;
  std::memcpy(&line, hive->FindValue(*hive->FindPath(u"A\\B\\Q3\\H"), u"line")->data, 4);
  EXPECT_EQ(0x10000010u, line);
}

TEST(WineHiveParser, BrokenFileNamesFileAndLine) {
  const std::string path = TSR_TEST_DATA "/broken.reg";
  try {
    posix::LoadWineHive(path);
    FAIL() << "a broken hive was accepted";
  } catch (const posix::RegistryHiveError& error) {
    EXPECT_EQ(path, error.File());
    EXPECT_EQ(7u, error.Line());  // the continuation line, not the line the value starts on
    EXPECT_EQ(path + ":7: expected a hexadecimal byte", error.what());
  }
}

TEST(WineHiveParser, RefusesWhatItCannotRead) {
  const std::string header = "WINE REGISTRY Version 2\n";
  struct Case {
    std::string text;
    std::size_t line;
    const char* reason;
  } cases[] = {
      {"", 1, "not a Wine registry file"},
      {"REGEDIT4\n[A]\n", 1, "not a Wine registry file"},
      {header + "\"A\"=\"x\"\n", 2, "value before the first key"},
      {header + "[A] 1\n\"A\"=\"open\n", 3, "unterminated string"},
      {header + "[A\n", 2, "unterminated string"},
      {header + "[A] 1 x\n", 2, "unexpected text after the key name"},
      {header + "[A]\n\"A\"=\"x\" y\n", 3, "unexpected text after the value"},
      {header + "[A]\n\"A\"=word:1\n", 3, "unknown value type"},
      {header + "[A]\n\"A\"=dword:123456789\n", 3, "longer than 8 digits"},
      {header + "[A]\n\"A\"=dword:\n", 3, "expected a hexadecimal number"},
      {header + "[A]\n\"A\"=str(2)\"x\"\n", 3, "expected \"):\"\""},
      {header + "[A]\n\"A\"=hex:01;02\n", 3, "expected \",\" between bytes"},
      {header + "[A]\n\"A\"=hex:01,\\", 3, "line continuation at the end of the file"},
      {header + "[A]\n\"A\"=\"\\x\"\n", 3, "\\x without hexadecimal digits"},
      {header + "[A]\n\"A\"=\"\xff\"\n", 3, "not valid UTF-8"},
      {header + "[A]\nA=1\n", 3, "expected a key, a value"},
  };
  for (const Case& c : cases) {
    try {
      posix::ParseWineHive(c.text, "test.reg");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const posix::RegistryHiveError& error) {
      EXPECT_EQ(c.line, error.Line()) << c.text;
      EXPECT_NE(nullptr, std::strstr(error.what(), c.reason)) << error.what();
      EXPECT_EQ(0, std::strncmp(error.what(), "test.reg:", 9)) << error.what();
    }
  }
}

TEST(WineHiveParser, AcceptsWindowsLineEndsAndMissingFinalLineEnd) {
  const auto hive = posix::ParseWineHive("WINE REGISTRY Version 2\r\n[A\\\\B] 5\r\n\"V\"=dword:00000001", "t.reg");
  EXPECT_EQ((Stored{REG_DWORD, Bytes({1, 0, 0, 0})}), Value(*hive, u"a\\b", u"v"));
}

TEST(WineHiveParser, MissingFileIsAnErrorNotAnEmptyHive) {
  try {
    posix::LoadWineHive("/nonexistent/system.reg");
    FAIL() << "a missing hive was accepted";
  } catch (const posix::RegistryHiveError& error) {
    EXPECT_EQ(0u, error.Line());
    EXPECT_EQ(std::string("/nonexistent/system.reg: cannot be read: No such file or directory"), error.what());
  }
}

}  // namespace
