#include "foundation/CodePageNames.h"

#include <string_view>

namespace {

CodePageNameSet MakeNames() {
  constexpr std::string_view kNames[] = {
      "windows-1250", "windows-1251", "windows-1252", "windows-1253", "windows-1254",
      "windows-1255", "windows-1256", "windows-1257", "windows-1258", "windows-874",
      "windows-932",  "windows-936",  "windows-949",  "windows-950",
  };
  CodePageNameSet names;
  for (std::string_view name : kNames) names.emplace(name);
  return names;
}

[[maybe_unused]] const CodePageNameSet& madeBeforeMain = WindowsCodePageNames();

}  // namespace

const CodePageNameSet& WindowsCodePageNames() {
  static const CodePageNameSet names = MakeNames();
  return names;
}
