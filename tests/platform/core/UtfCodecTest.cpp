// Core's whole-text UTF codec against the conversion cases of the platform's calls.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/kernel/UtfCodec.h"
#include "support/UnicodeCases.h"

namespace {

using unicodecases::kUtf16Cases;
using unicodecases::kUtf8Cases;

// The whole-text conversions size their output for the worst case in one pass: every table
// case, and texts made only of the widest replacements, come out as the calls give them.
TEST(WholeTextConversion, AgreesWithTheCallsInOnePass) {
  for (const auto& c : kUtf8Cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf::StrictUtf16(c.bytes), c.wellFormed ? std::optional<std::u16string>(c.lenient) : std::nullopt);
    EXPECT_EQ(Utf::LenientUtf16(c.bytes), c.lenient);
  }
  for (const auto& c : kUtf16Cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Utf::StrictUtf8(c.units), c.wellFormed ? std::optional<std::string>(c.lenient) : std::nullopt);
    EXPECT_EQ(Utf::LenientUtf8(c.units), c.lenient);
  }
  std::string replacements;
  for (int i = 0; i < 100; ++i) replacements += "\xEF\xBF\xBD";
  EXPECT_EQ(Utf::LenientUtf8(std::u16string(100, u'\xDC00')), replacements);
  EXPECT_EQ(Utf::LenientUtf16(std::string(100, '\x80')), std::u16string(100, u'\xFFFD'));
  EXPECT_EQ(Utf::StrictUtf8(std::u16string(100, u'\x20AC')), [] {
    std::string euros;
    for (int i = 0; i < 100; ++i) euros += "\xE2\x82\xAC";
    return euros;
  }());
  EXPECT_EQ(Utf::StrictUtf8(u""), std::optional<std::string>(""));
  EXPECT_EQ(Utf::LenientUtf16(""), u"");
}

}  // namespace
