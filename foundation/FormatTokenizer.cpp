#include "foundation/FormatTokenizer.h"

#include <cstring>

#include "foundation/LibraryExceptions.h"

namespace {

const char* Find(const char* from, const char* end, char byte) {
  const void* found = std::memchr(from, byte, static_cast<std::size_t>(end - from));
  return found ? static_cast<const char*>(found) : end;
}

}  // namespace

FormatTokenizer::FormatTokenizer(UStringRef<UTF8> text)
    : end_(text.begin() + text.size()), position_(text.begin()), after_(text.begin()) {
  Compute();
}

void FormatTokenizer::Next() {
  position_ = after_;
  Compute();
}

void FormatTokenizer::Compute() {
  if (position_ == end_) {
    token_ = FormatToken{FormatTokenKind::Literal, UStringRef<UTF8>(end_, end_)};
    after_ = end_;
    return;
  }
  if (*position_ != '{') {
    after_ = Find(position_, end_, '{');
    token_ = FormatToken{FormatTokenKind::Literal, UStringRef<UTF8>(position_, after_)};
    return;
  }
  const char* close = Find(position_ + 1, end_, '}');
  if (close == end_) throw BadFormatStringError();
  token_ = FormatToken{FormatTokenKind::Variable, UStringRef<UTF8>(position_ + 1, close)};
  after_ = close + 1;
}
