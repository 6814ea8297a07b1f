#include "foundation/CharacterSetResult.h"

#include <cstring>

#include <windows.h>

#include "foundation/ICUErrorNames.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/LocalTextBuffer.h"
#include "foundation/NumberText.h"

namespace {

std::string FromCString(const char* text) { return text == nullptr ? std::string() : std::string(text); }

std::string Decimal(std::uint32_t value) { return std::string(ToDecimalText(value, 1).Ref().view()); }

}  // namespace

// ---- ICUResult ----------------------------------------------------------------------------

ICUResult::ICUResult(std::int32_t status, const char* operation) : status_(status), operation_(FromCString(operation)) {}

const char* ICUResult::what() const noexcept {
  try {
    describedText_ = Describe();
    return describedText_.c_str();
  } catch (...) {
    return ClassNameText().begin();
  }
}

UStringRef<UTF8> ICUResult::MessageUtf8() const {
  const char* text = what();
  if (text == nullptr) return UStringRef<UTF8>();
  return UStringRef<UTF8>(text, std::strlen(text));
}

// ICU counts warnings (negative codes) as success.
bool ICUResult::Succeeded() const { return status_ <= 0; }

std::uint32_t ICUResult::Code() const { return static_cast<std::uint32_t>(status_); }

std::string ICUResult::CodeName() const { return ICUErrorName(status_); }

std::string ICUResult::Describe() const {
  std::string text = "UErrorCode=" + Decimal(static_cast<std::uint32_t>(status_)) + " [" + CodeName() + "]";
  if (!operation_.empty()) text += " in " + operation_;
  return text;
}

// ---- CharacterSetResult -------------------------------------------------------------------

CharacterSetResult::CharacterSetResult(std::int32_t status, const char* operation) : ICUResult(status, operation) {}

const char* CharacterSetResult::what() const noexcept {
  try {
    describedText_ = Describe();
    return describedText_.c_str();
  } catch (...) {
    return ClassNameText().begin();
  }
}

std::string CharacterSetResult::Describe() const {
  std::string text = "CharacterSetResult:";
  if (!context_.empty()) text += " " + context_ + ":";
  text += " " + ICUResult::Describe();
  if (!quoted_.empty()) text += " [\"" + quoted_ + "\"]";
  return text;
}

// ---- WindowsCharacterSetResult ------------------------------------------------------------

WindowsCharacterSetResult::WindowsCharacterSetResult(std::uint32_t windowsCode, const char* operation)
    : CharacterSetResult(0, operation), windowsCode_(windowsCode) {}

bool WindowsCharacterSetResult::Succeeded() const { return windowsCode_ == 0; }

std::uint32_t WindowsCharacterSetResult::Code() const { return windowsCode_; }

std::string WindowsCharacterSetResult::CodeName() const {
  char* buffer = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                     nullptr, windowsCode_, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                     reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
  LocalTextBuffer owned(buffer);
  std::string text = length != 0 ? std::string(buffer, length) : std::string();
  // The platform ends its texts with a line break; the last one and what follows it go.
  if (text.size() >= 2) {
    const std::size_t lineEnd = text.rfind("\r\n");
    if (lineEnd != std::string::npos) text.erase(lineEnd);
  }
  if (buffer != nullptr) owned.Release();
  return text;
}

std::string WindowsCharacterSetResult::Describe() const {
  std::string text = "WindowsCharacterSetResult:";
  if (!context_.empty()) text += " " + context_ + ":";
  text += " Error " + Decimal(windowsCode_) + " (" + CodeName() + ")";
  if (!operation_.empty()) text += " in " + operation_;
  return text;
}
