// The main of every unit-test program: the test defaults first, then the tests.
#include <gtest/gtest.h>

#include "support/TestDefaults.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InstallTestDefaults();
  return RUN_ALL_TESTS();
}
