#include <gtest/gtest.h>

#include <string>

#include "foundation/CharacterSetResult.h"

namespace {

TEST(ICUResult, DescriptionsNameTheICUStatus) {
  const ICUResult warning(-128, "Open");  // U_USING_FALLBACK_WARNING
  EXPECT_TRUE(warning.Succeeded());      // ICU counts warnings as success
  EXPECT_EQ(std::string(warning.what()), "UErrorCode=4294967168 [U_USING_FALLBACK_WARNING] in Open");
  const ICUResult error(1, nullptr);
  EXPECT_FALSE(error.Succeeded());
  EXPECT_EQ(std::string(error.what()), "UErrorCode=1 [U_ILLEGAL_ARGUMENT_ERROR]");
  const CharacterSetResult conversion(10, "ucnv_convert");
  EXPECT_EQ(std::string(conversion.what()), "CharacterSetResult: UErrorCode=10 [U_INVALID_CHAR_FOUND] in ucnv_convert");
}

TEST(CharacterSetResult, WhatIsRebuiltAndCopiesKeepEverything) {
  const WindowsCharacterSetResult result(1113, "TranscodeU16ToU8");
  const std::string first = result.what();
  EXPECT_EQ(std::string(result.what()), first);
  const WindowsCharacterSetResult copy(result);
  EXPECT_EQ(std::string(copy.what()), first);
  EXPECT_EQ(copy.Code(), 1113u);
}

}  // namespace
