#include "foundation/WindowsError.h"

#include <map>
#include <mutex>
#include <string_view>

#include "foundation/FormatTemplate.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/LocalTextBuffer.h"
#include "foundation/NumberText.h"
#include "foundation/TextEncoding.h"

namespace {

struct HandlerTable {
  std::mutex lock;
  std::map<std::uint32_t, WindowsErrorHandler> handlers;
};

HandlerTable& Handlers() {
  static HandlerTable table;
  return table;
}

WindowsErrorHandler FindHandler(std::uint32_t code) {
  HandlerTable& table = Handlers();
  std::lock_guard<std::mutex> guard(table.lock);
  const auto found = table.handlers.find(code);
  return found == table.handlers.end() ? nullptr : found->second;
}

bool IsTrimmed(char c) { return c == '\t' || c == '\n' || c == '\r' || c == ' '; }

UStringRef<UTF8> Trim(UStringRef<UTF8> text) {
  const char* begin = text.begin();
  const char* end = begin + text.size();
  while (begin != end && IsTrimmed(*begin)) ++begin;
  while (end != begin && IsTrimmed(end[-1])) --end;
  return UStringRef<UTF8>(begin, end);
}

// The stored message keeps one zero byte after the text, so that the narrow conversion and
// any caller that wants a C string find it terminated; the text itself stops before it.
UStringRef<UTF8> WithoutTerminator(const CopiedUString<UTF8>& stored) {
  return UStringRef<UTF8>(stored.begin(), stored.end() - 1);
}

}  // namespace

namespace Windows {

Error& Error::operator=(const Error& other) {
  if (this != &other) {
    code_ = other.code_;
    module_ = other.module_;
    message_ = CopiedUString<UTF8>();
    narrowMessage_ = CopiedUString<UTF8>();
  }
  return *this;
}

UStringRef<UTF8> Error::MessageUtf8() const {
  if (!message_.empty()) return WithoutTerminator(message_);
  try {
    const CopiedUString<UTF8> system = SystemMessageText(*this, 0, module_);
    CopiedUString<UTF8> message =
        Format(std::string_view("Windows Error 0x{err}: {msg}"), {ToHexText(code_, 1), system});
    message.Append('\0');
    message_ = std::move(message);
    return WithoutTerminator(message_);
  } catch (...) {
    return ClassNameText();
  }
}

const char* Error::what() const noexcept {
  if (!narrowMessage_.empty()) return narrowMessage_.begin();
  try {
    const UStringRef<UTF8> message = MessageUtf8();
    if (message_.empty()) return ClassNameText().begin();  // the message could not be built
    CopiedUString<UTF8> narrow = ConvertU16ToACP(ConvertU8ToU16Lenient(message));
    narrow.Append('\0');
    narrowMessage_ = std::move(narrow);
    return narrowMessage_.begin();
  } catch (...) {
    return ClassNameText().begin();
  }
}

}  // namespace Windows

void SetWindowsErrorHandler(std::uint32_t code, WindowsErrorHandler handler) {
  HandlerTable& table = Handlers();
  std::lock_guard<std::mutex> guard(table.lock);
  if (handler == nullptr) {
    table.handlers.erase(code);
  } else {
    table.handlers[code] = handler;
  }
}

void RaiseWindowsError(std::uint32_t code, HMODULE module) {
  if (code == 0) return;
  const Windows::Error error(code, module);
  if (WindowsErrorHandler handler = FindHandler(code)) {
    handler(error);
    return;
  }
  throw error;
}

void RaiseLastError(HMODULE module) { RaiseWindowsError(GetLastError(), module); }

void CheckLastError(BOOL succeeded, HMODULE module) {
  if (!succeeded) RaiseLastError(module);
}

CopiedUString<UTF8> SystemMessageText(const Windows::Error& error, DWORD widthBits, HMODULE module) {
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  if (module != nullptr) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  flags |= widthBits & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  WCHAR* buffer = nullptr;
  const DWORD length = FormatMessageW(flags, module, error.Code(), 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  if (length == 0) {
    CopiedUString<UTF8> unknown(std::string_view("unknown error 0x"));
    unknown.Append(ToHexText(error.Code(), 1));
    return unknown;
  }
  LocalTextBuffer owned(buffer);
  const CopiedUString<UTF8> text = TranscodeU16ToU8(UStringRef<UTF16>(buffer, length));
  CopiedUString<UTF8> result(Trim(text));
  owned.Release();
  return result;
}

CopiedUString<UTF8> WindowsErrorText(std::uint32_t code) {
  const CopiedUString<UTF8> system = SystemMessageText(Windows::Error(code), 0, nullptr);
  return Format(std::string_view("Windows Error 0x{e}%: {s}"), {ToHexText(code, 1), system});
}
