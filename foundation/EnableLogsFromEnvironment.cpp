#include "foundation/EnableLogsFromEnvironment.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include <windows.h>

#include "WideText.h"
#include "foundation/StandardErrorLogSink.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr WCHAR kVariable[] = WIDE("TSR_LOG");

bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

// The variable's value, or nothing when it is not set or empty.
std::optional<CopiedUString<UTF8>> ReadVariable() {
  DWORD size = GetEnvironmentVariableW(kVariable, nullptr, 0);
  while (size != 0) {
    CopiedUString<UTF16> value = CopiedUString<UTF16>::WithCapacity(size);
    const DWORD length = GetEnvironmentVariableW(kVariable, value.data(), size);
    if (length == 0) break;
    if (length < size) {
      value.SetEnd(value.data() + length);
      // Lenient: a name that cannot be decoded matches no log, which is all a bad name deserves.
      return ConvertU16ToU8Lenient(value);
    }
    size = length;  // the value grew since it was measured
  }
  return std::nullopt;
}

}  // namespace

std::vector<CopiedUString<UTF8>> ParseLogNameList(UStringRef<UTF8> list) {
  std::vector<CopiedUString<UTF8>> names;
  const std::string_view text = list.view();
  std::size_t position = 0;
  while (position < text.size()) {
    if (IsSeparator(text[position])) {
      ++position;
      continue;
    }
    std::size_t end = position;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const UStringRef<UTF8> name(text.substr(position, end - position));
    const bool seen = std::any_of(names.begin(), names.end(), [&](const auto& known) { return known.Ref() == name; });
    if (!seen) names.emplace_back(name);
    position = end;
  }
  return names;
}

std::shared_ptr<LogSink> EnableLogsFromEnvironment(LogManager& manager) {
  const std::optional<CopiedUString<UTF8>> list = ReadVariable();
  if (!list) return nullptr;
  const std::vector<CopiedUString<UTF8>> names = ParseLogNameList(*list);
  if (names.empty()) return nullptr;
  auto sink = std::make_shared<StandardErrorLogSink>(names);
  manager.AddMessageSink(sink);
  manager.Start();
  return sink;
}
