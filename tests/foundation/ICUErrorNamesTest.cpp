#include <gtest/gtest.h>

#include <unicode/utypes.h>

#include <cstdint>
#include <limits>
#include <string>

#include "foundation/CharacterSetResult.h"
#include "foundation/ICUErrorNames.h"

namespace {

// The table stands in for ICU where there is none; here ICU itself checks it, so that a new
// ICU's codes show up as a difference instead of a silently wrong name.
TEST(ICUErrorNames, NameEveryStatusAsICUDoes) {
  // Every block ICU defines lies well inside this sweep, and so do the gaps between blocks.
  static_assert(U_ERROR_WARNING_START > -0x10000 && U_PLUGIN_ERROR_LIMIT < 0x20000);
  int differences = 0;
  for (std::int32_t status = -0x10000; status <= 0x20000; ++status) {
    const std::string ours = ICUErrorName(status);
    const std::string icus = u_errorName(static_cast<UErrorCode>(status));
    if (ours != icus && ++differences <= 10) ADD_FAILURE() << status << ": " << ours << " != " << icus;
  }
  EXPECT_EQ(0, differences);
  for (const std::int32_t status : {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()})
    EXPECT_STREQ(u_errorName(static_cast<UErrorCode>(status)), ICUErrorName(status)) << status;
}

TEST(ICUErrorNames, NameTheStatusOfACharacterSetResult) {
  const CharacterSetResult result(U_INVALID_CHAR_FOUND, "ucnv_toUChars");
  EXPECT_EQ("U_INVALID_CHAR_FOUND", result.CodeName());
  EXPECT_EQ("CharacterSetResult: UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_toUChars", result.Describe());
}

}  // namespace
