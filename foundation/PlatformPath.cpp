#include "foundation/PlatformPath.h"

#include <string_view>

#include "WideText.h"
#include "foundation/PathRoot.h"

namespace {

TerminatedU16 Terminated(CopiedUString<UTF16> text) {
  return MakeTerminatedU16(std::move(text));
}

// The long-path form turns off the platform's normalisation, so "." and ".." components
// would be taken literally; such a path is handed over as it is.
bool HasDotComponent(WStringView text) {
  const auto endsWith = [&](WStringView tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
  };
  return text.find(WIDE("\\..\\")) != WStringView::npos || text.find(WIDE("\\.\\")) != WStringView::npos ||
         endsWith(WIDE("\\.")) || endsWith(WIDE("\\.."));
}

}  // namespace

TerminatedU16 ToPlatformPath(UStringRef<UTF8> path, std::size_t limit) {
  if (path.size() < limit) return Terminated(TranscodeU8ToU16(path));
  const PathRoot root = ClassifyPathRoot(path);
  if (!root.hasDrive && !root.isUnc) return Terminated(TranscodeU8ToU16(path));
  CopiedUString<UTF16> wide = TranscodeU8ToU16(path);
  if (wide.size() < limit) return Terminated(std::move(wide));
  for (WCHAR* unit = wide.data(); unit != wide.data() + wide.size(); ++unit) {
    if (*unit == WIDE('/')) *unit = WIDE('\\');
  }
  if (HasDotComponent(wide.view())) return Terminated(std::move(wide));
  CopiedUString<UTF16> prefixed(WStringView(WIDE("\\\\?\\")));
  if (root.isUnc) {
    prefixed.Append(UStringRef<UTF16>(WStringView(WIDE("UNC"))));
    prefixed.Append(UStringRef<UTF16>(wide.begin() + 1, wide.end()));
  } else {
    prefixed.Append(wide.Ref());
  }
  return Terminated(std::move(prefixed));
}
