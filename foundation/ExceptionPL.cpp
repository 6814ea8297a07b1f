#include "foundation/ExceptionPL.h"

#include <cstring>

#include "foundation/TextEncoding.h"

namespace {

CopiedUString<UTF8> FromNarrow(const char* text) {
  if (text == nullptr) return {};
  const UStringRef<UTF8> bytes(text, std::strlen(text));
  return ConvertU16ToU8Lenient(ConvertACPToU16(bytes));
}

}  // namespace

ExceptionPL::ExceptionPL(UStringRef<UTF8> message) : message_(message) {}

ExceptionPL::ExceptionPL(const char* narrowMessage) : message_(FromNarrow(narrowMessage)) {}

// A copy keeps the message; the narrow text is made again on request.
ExceptionPL::ExceptionPL(const ExceptionPL& other) : DebuggableException(other), message_(other.message_) {}

ExceptionPL& ExceptionPL::operator=(const ExceptionPL& other) {
  message_ = other.message_;
  whatText_ = CopiedUString<UTF8>();
  return *this;
}

UStringRef<UTF8> ExceptionPL::MessageUtf8() const {
  return message_.empty() ? ClassNameText() : message_.Ref();
}

const char* ExceptionPL::what() const noexcept {
  try {
    CopiedUString<UTF8> narrow = ConvertU16ToACP(ConvertU8ToU16Lenient(MessageUtf8()));
    narrow.Append('\0');  // keeps the text a C string; not counted as part of the message
    whatText_ = std::move(narrow);
    return whatText_.begin();
  } catch (...) {
    return ClassNameText().begin();
  }
}
