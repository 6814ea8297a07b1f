#include "foundation/CaughtException.h"

#include <algorithm>
#include <mutex>

namespace {

struct CapturerList {
  std::mutex lock;
  std::vector<ExceptionCapturer> capturers;
};

CapturerList& Capturers() {
  static auto* list = new CapturerList;  // never destroyed: capturing may happen during exit
  return *list;
}

// The library's own capturers, registered before main.
const bool kRegistered = [] {
  RegisterExceptionCapturer(&CaptureStdException);
  RegisterExceptionCapturer(&CaptureWindowsError);
  return true;
}();

}  // namespace

void RegisterExceptionCapturer(ExceptionCapturer capturer) {
  CapturerList& list = Capturers();
  std::lock_guard<std::mutex> guard(list.lock);
  if (std::find(list.capturers.begin(), list.capturers.end(), capturer) == list.capturers.end()) {
    list.capturers.push_back(capturer);
  }
}

std::vector<ExceptionCapturer> RegisteredExceptionCapturers() {
  (void)kRegistered;
  CapturerList& list = Capturers();
  std::lock_guard<std::mutex> guard(list.lock);
  return list.capturers;
}

std::unique_ptr<CaughtException> CaptureStdException() {
  try {
    throw;
  } catch (const std::exception& caught) {
    return std::make_unique<CaughtExceptionOfType<std::exception>>(caught);
  }
}

std::unique_ptr<CaughtException> CaptureWindowsError() {
  try {
    throw;
  } catch (const Windows::Error& caught) {
    return std::make_unique<CaughtExceptionOfType<Windows::Error>>(caught);
  }
}
