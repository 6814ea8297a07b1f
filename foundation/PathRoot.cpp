#include "foundation/PathRoot.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

PathRoot ClassifyPathRoot(UStringRef<UTF8> path) {
  PathRoot root;
  const std::string_view text = path.view();
  if (text.empty()) return root;
  if (text.size() == 1) {
    if (text[0] == '\\' || text[0] == '/') root.isRootOnly = root.isRooted = true;
    return root;
  }
  if (IsAsciiLetter(text[0]) && text[1] == ':') {
    root.hasDrive = root.isRooted = true;
    root.isRootOnly = text.size() == 2;
    root.drive = CopiedUString<UTF8>(text.substr(0, 2));
  } else if (text[0] == '\\' && text[1] == '\\') {
    root.isRooted = root.isUnc = true;
    root.isRootOnly = text.find_first_of("\\/", 2) == std::string_view::npos;
  } else if (text[0] == '\\' || text[0] == '/') {
    root.isRooted = true;
  }
  return root;
}
