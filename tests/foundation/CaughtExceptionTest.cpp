#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "SystemTexts.h"
#include "foundation/CaughtException.h"

namespace {

template <class Throw>
std::unique_ptr<CaughtException> CaptureWith(ExceptionCapturer capturer, Throw raise) {
  try {
    raise();
  } catch (...) {
    return capturer();
  }
  return nullptr;
}

TEST(CaughtException, LibraryCapturersAreRegisteredOnceInOrder) {
  std::vector<ExceptionCapturer> list = RegisteredExceptionCapturers();
  ASSERT_GE(list.size(), 2u);
  EXPECT_EQ(list[0], &CaptureStdException);
  EXPECT_EQ(list[1], &CaptureWindowsError);
  RegisterExceptionCapturer(&CaptureStdException);  // already there: nothing changes
  EXPECT_EQ(RegisteredExceptionCapturers(), list);
}

TEST(CaughtException, StdExceptionsComeBackAsCopiedText) {
  const auto caught = CaptureWith(&CaptureStdException, [] { throw std::out_of_range("index 7 out of range"); });
  ASSERT_NE(caught, nullptr);
  EXPECT_STREQ(caught->What(), "index 7 out of range");
  EXPECT_EQ(caught->MessageUtf8().view(), "index 7 out of range");
  try {
    caught->Rethrow();
  } catch (const std::out_of_range&) {
    ADD_FAILURE() << "the original class must not come back";
  } catch (const CopiedStdException& copied) {
    EXPECT_STREQ(copied.what(), "index 7 out of range");
  }
  // A Windows::Error is a std::exception too; this capturer keeps its text.
  const auto windows = CaptureWith(&CaptureStdException, [] { throw Windows::Error(5); });
  EXPECT_EQ(std::string(windows->What()), "Windows Error 0x5: " + SystemText(5));
  EXPECT_THROW(windows->Rethrow(), ExceptionPL);
}

TEST(CaughtException, WindowsErrorsKeepTheirCode) {
  const auto caught = CaptureWith(&CaptureWindowsError, [] { throw Windows::Error(2); });
  ASSERT_NE(caught, nullptr);
  EXPECT_EQ(caught->MessageUtf8().view(), "Windows Error 0x2: " + SystemText(2));
  try {
    caught->Rethrow();
  } catch (const Windows::Error& error) {
    EXPECT_EQ(error.Code(), 2u);
  }
}

TEST(CaughtException, UnknownExceptionsLeaveTheCapturer) {
  EXPECT_THROW(CaptureWith(&CaptureStdException, [] { throw 42; }), int);
  EXPECT_THROW(CaptureWith(&CaptureWindowsError, [] { throw std::runtime_error("x"); }), std::runtime_error);
}

}  // namespace
