#include "foundation/FileLocation.h"

#include "foundation/FileIOError.h"
#include "foundation/FileName.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

UStringRef<UTF8> WithoutTrailingSeparator(UStringRef<UTF8> text) {
  if (text.size() > 1 && IsSeparator(text.end()[-1])) return UStringRef<UTF8>(text.begin(), text.end() - 1);
  return text;
}

UStringRef<UTF8> TrimSeparators(UStringRef<UTF8> name) {
  const char* begin = name.begin();
  const char* end = name.end();
  while (begin < end && IsSeparator(*begin)) ++begin;
  while (end > begin && IsSeparator(end[-1])) --end;
  return UStringRef<UTF8>(begin, end);
}

}  // namespace

FileLocation::FileLocation(UStringRef<UTF8> text) : path_(WithoutTrailingSeparator(text)) {}

FileLocation::FileLocation(const FileLocation& other)
    : path_(other.path_), extra_(other.extra_ ? std::make_unique<Extra>(*other.extra_) : nullptr) {}

FileLocation& FileLocation::operator=(const FileLocation& other) {
  if (this != &other) {
    FileLocation copy(other);
    *this = std::move(copy);
  }
  return *this;
}

FileLocation FileLocation::Append(UStringRef<UTF8> name) const {
  if (path_.empty()) throw EmptyFileLocationError();
  FileLocation result(*this);
  const UStringRef<UTF8> trimmed = TrimSeparators(name);
  if (trimmed.empty()) return result;
  if (!IsSeparator(path_.end()[-1])) result.path_.Append('\\');
  result.path_.Append(trimmed);
  return result;
}

FileLocation FileLocation::Append(const FileName& name) const { return Append(name.Text().Ref()); }
