#include "foundation/FileIOError.h"

#include "foundation/FormatTemplate.h"
#include "foundation/TextEncoding.h"
#include "foundation/WindowsError.h"

FileIOError::FileIOError(std::int32_t code) : record_(std::make_unique<Record>()) { record_->code = code; }

FileIOError::FileIOError(std::int32_t code, UStringRef<UTF8> path, UStringRef<UTF8> otherPath)
    : FileIOError(code) {
  record_->path = CopiedUString<UTF8>(path);
  record_->otherPath = CopiedUString<UTF8>(otherPath);
}

FileIOError::FileIOError(const FileIOError& other)
    : DebuggableException(other), record_(std::make_unique<Record>()) {
  record_->code = other.record_->code;
  record_->path = other.record_->path;
  record_->otherPath = other.record_->otherPath;
}

FileIOError& FileIOError::operator=(const FileIOError& other) {
  if (this != &other) {
    auto record = std::make_unique<Record>();
    record->code = other.record_->code;
    record->path = other.record_->path;
    record->otherPath = other.record_->otherPath;
    record_ = std::move(record);
  }
  return *this;
}

FileIOError::~FileIOError() = default;

bool FileIOError::Compose() const noexcept {
  try {
    // The class name is narrow text in the ANSI code page.
    const CopiedUString<UTF8> name = ConvertU16ToU8Lenient(ConvertACPToU16(ClassNameText()));
    CopiedUString<UTF8> message = Format("File error \"{e}\"", {name});
    if (!record_->path.empty()) message = Format("{s} on \"{p}\"", {message, record_->path});
    if (!record_->otherPath.empty()) message = Format("{s} and \"{p}\"", {message, record_->otherPath});
    if (record_->code != 0) {
      const CopiedUString<UTF8> text = WindowsErrorText(static_cast<std::uint32_t>(record_->code));
      message = Format("{s} : \"{e}\"", {message, text});
    }
    const CopiedUString<UTF8> narrow = ConvertU16ToACP(ConvertU8ToU16Lenient(message));
    record_->narrowMessage.assign(narrow.begin(), narrow.end());
    record_->messageUtf8 = std::move(message);
    return true;
  } catch (...) {
    return false;
  }
}

const char* FileIOError::what() const noexcept {
  if (!Compose()) return ClassNameText().begin();
  return record_->narrowMessage.c_str();
}

UStringRef<UTF8> FileIOError::MessageUtf8() const {
  if (!Compose()) return ClassNameText();
  return record_->messageUtf8.Ref();
}
