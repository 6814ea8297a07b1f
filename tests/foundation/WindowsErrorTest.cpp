#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include <windows.h>

#include "SystemTexts.h"
#include "foundation/WindowsError.h"

namespace {

std::string Message(const Windows::Error& error) { return std::string(error.MessageUtf8().view()); }


TEST(WindowsError, SystemTextsAndUnknownCodes) {
  ASSERT_FALSE(SystemText(5).empty());
  EXPECT_EQ(Message(Windows::Error(5)), "Windows Error 0x5: " + SystemText(5));
  char hex[16];
  std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(kCodeWithoutText));
  const std::string unknown = std::string("Windows Error 0x") + hex + ": unknown error 0x" + hex;
  EXPECT_EQ(Message(Windows::Error(kCodeWithoutText)), unknown);
  EXPECT_STREQ(Windows::Error(kCodeWithoutText).what(), unknown.c_str());
  // The short form keeps its literal "%".
  EXPECT_EQ(WindowsErrorText(2).view(), "Windows Error 0x2%: " + SystemText(2));
  EXPECT_EQ(SystemMessageText(Windows::Error(1113), 0, nullptr).view(), SystemText(1113));
}

int handled = 0;
void CountingHandler(const Windows::Error& error) { handled = static_cast<int>(error.Code()); }

TEST(RaiseWindowsError, RaisesForNonZeroCodesUnlessAHandlerTakesThem) {
  EXPECT_NO_THROW(RaiseWindowsError(0));
  try {
    RaiseWindowsError(5);
    ADD_FAILURE() << "no exception";
  } catch (const Windows::Error& error) {
    EXPECT_EQ(error.Code(), 5u);
  }
  SetWindowsErrorHandler(1234, &CountingHandler);
  EXPECT_NO_THROW(RaiseWindowsError(1234));
  EXPECT_EQ(handled, 1234);
  SetWindowsErrorHandler(1234, nullptr);
  EXPECT_THROW(RaiseWindowsError(1234), Windows::Error);
}

TEST(RaiseWindowsError, LastErrorHelpersReadTheThreadsCode) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_NO_THROW(CheckLastError(TRUE));  // success never looks at the last error
  try {
    CheckLastError(FALSE);
    ADD_FAILURE() << "no exception";
  } catch (const Windows::Error& error) {
    EXPECT_EQ(error.Code(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  EXPECT_THROW(RaiseLastError(), Windows::Error);
  SetLastError(0);
  EXPECT_NO_THROW(RaiseLastError());
}

}  // namespace
