#include "foundation/PlatformPath.h"

#include <string_view>

#include "foundation/PathRoot.h"

namespace {

TerminatedU16 Terminated(CopiedUString<UTF16> text) {
  return MakeTerminatedU16(std::move(text));
}

// The long-path form turns off the platform's normalisation, so "." and ".." components
// would be taken literally; such a path is handed over as it is.
bool HasDotComponent(std::u16string_view text) {
  const auto endsWith = [&](std::u16string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
  };
  return text.find(u"\\..\\") != std::u16string_view::npos || text.find(u"\\.\\") != std::u16string_view::npos ||
         endsWith(u"\\.") || endsWith(u"\\..");
}

}  // namespace

TerminatedU16 ToPlatformPath(UStringRef<UTF8> path, std::size_t limit) {
  if (path.size() < limit) return Terminated(TranscodeU8ToU16(path));
  const PathRoot root = ClassifyPathRoot(path);
  if (!root.hasDrive && !root.isUnc) return Terminated(TranscodeU8ToU16(path));
  CopiedUString<UTF16> wide = TranscodeU8ToU16(path);
  if (wide.size() < limit) return Terminated(std::move(wide));
  for (char16_t* unit = wide.data(); unit != wide.data() + wide.size(); ++unit) {
    if (*unit == u'/') *unit = u'\\';
  }
  if (HasDotComponent(wide.view())) return Terminated(std::move(wide));
  CopiedUString<UTF16> prefixed(std::u16string_view(u"\\\\?\\"));
  if (root.isUnc) {
    prefixed.Append(UStringRef<UTF16>(std::u16string_view(u"UNC")));
    prefixed.Append(UStringRef<UTF16>(wide.begin() + 1, wide.end()));
  } else {
    prefixed.Append(wide.Ref());
  }
  return Terminated(std::move(prefixed));
}
