#include "foundation/FileName.h"

#include "foundation/LibraryExceptions.h"

namespace {

constexpr std::size_t kLongestName = 256;

// The zero byte is refused too: a platform call would end the name there and silently act
// on a shorter one.
bool IsIllegal(unsigned char c) {
  switch (c) {
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
      return true;
    default:
      return c < 32;
  }
}

}  // namespace

FileName::FileName(UStringRef<UTF8> text) {
  if (text.empty() || text.size() > kLongestName) return;
  if (text.view() == "." || text.view() == "..") throw IllegalFileNameReserved();
  for (char c : text.view()) {
    if (IsIllegal(static_cast<unsigned char>(c))) throw IllegalFileName();
  }
  text_ = CopiedUString<UTF8>(text);
}
