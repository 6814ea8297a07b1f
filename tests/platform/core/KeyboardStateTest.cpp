// The key state behind GetKeyState, as the presenter (or a test) sets it.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/user/KeyboardState.h"

namespace {

TEST(KeyboardState, AKeyThatIsDownReadsNegative) {
  ReleaseAllVirtualKeys();
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  SetVirtualKeyDown(VK_SHIFT, true);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
  SetVirtualKeyDown(VK_SHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
}

}  // namespace
