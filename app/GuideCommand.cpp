#include "app/GuideCommand.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include <windows.h>
#include <shellapi.h>

#include "WideText.h"
#include "foundation/Ascii.h"
#include "foundation/CharacterSetResult.h"
#include "foundation/URLDecoder.h"

namespace {

struct CommandPrefix {
  std::string_view prefix;
  GuideCommand::Kind kind;
  INT showCommand;
};

// Tested in this order; the first match decides.
constexpr CommandPrefix kPrefixes[] = {
    {"openexecutable:", GuideCommand::Open, SW_SHOWNORMAL},
    {"openfolder:", GuideCommand::Open, SW_SHOWDEFAULT},
    {"openinbrowser:", GuideCommand::Open, SW_SHOWDEFAULT},
    {"close:", GuideCommand::Close, 0},
};

GuideCommand Refusal() {
  GuideCommand command;
  command.kind = GuideCommand::Refused;
  return command;
}

GuideCommand OpenCommand(UStringRef<UTF8> remainder, INT showCommand) {
  const CopiedUString<UTF8> decoded = URLDecode(remainder);
  // A zero byte would end the name the shell sees before the name the link shows.
  if (std::find(decoded.begin(), decoded.end(), '\0') != decoded.end()) return Refusal();
  GuideCommand command;
  command.kind = GuideCommand::Open;
  command.file = MakeTerminatedU16(TranscodeU8ToU16(decoded.Ref()));
  command.showCommand = showCommand;
  return command;
}

// Most addresses are decided by their first unit: no prefix starts with it.
bool MayStartCommand(WCHAR first) {
  if (first >= 0x80) return false;
  const char folded = Ascii::ToLower(static_cast<char>(first));
  return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                     [folded](const CommandPrefix& entry) { return entry.prefix.front() == folded; });
}

// An address that cannot start with a prefix and holds no surrogate unit, so that its
// conversion cannot fail: it is loaded without being converted. Everything else takes the
// full path, where the conversion alone decides what is valid text.
bool IsPlainAddress(UStringRef<UTF16> target) {
  if (!target.empty() && MayStartCommand(target[0])) return false;
  return std::none_of(target.begin(), target.end(), [](WCHAR unit) { return unit >= 0xD800 && unit <= 0xDFFF; });
}

GuideCommand ReadCommand(UStringRef<UTF16> target) {
  // Converted first, also for addresses: a target that is not valid text is refused.
  const CopiedUString<UTF8> text = TranscodeU16ToU8(target);
  if (text.empty() || !MayStartCommand(static_cast<unsigned char>(*text.begin()))) return GuideCommand{};
  for (const CommandPrefix& entry : kPrefixes) {
    const UStringRef<UTF8> prefix(entry.prefix);
    if (!Ascii::StartsWithIgnoringCase(text.Ref(), prefix)) continue;
    if (entry.kind == GuideCommand::Close) {
      GuideCommand command;
      command.kind = GuideCommand::Close;
      return command;
    }
    return OpenCommand(UStringRef<UTF8>(text.begin() + prefix.size(), text.end()), entry.showCommand);
  }
  return GuideCommand{};
}

}  // namespace

GuideCommand ReadGuideCommand(UStringRef<UTF16> target) {
  if (IsPlainAddress(target)) return GuideCommand{};
  try {
    return ReadCommand(target);
  } catch (const WindowsCharacterSetResult&) {
    return Refusal();
  }
}

std::vector<WString> GuideCommandPrefixes() {
  std::vector<WString> prefixes;
  for (const CommandPrefix& entry : kPrefixes) prefixes.emplace_back(entry.prefix.begin(), entry.prefix.end());
  return prefixes;
}

void OpenInShell(const GuideCommand& open) {
  ShellExecuteW(nullptr, WIDE("open"), open.file.c_str(), nullptr, nullptr, open.showCommand);
}

namespace {

WCHAR FoldAsciiCase(WCHAR unit) {
  return unit >= WIDE('A') && unit <= WIDE('Z') ? static_cast<WCHAR>(unit - WIDE('A') + WIDE('a')) : unit;
}

bool HasFileScheme(UStringRef<UTF16> address) {
  constexpr WStringView kFileScheme = WIDE("file:");
  if (address.size() < kFileScheme.size()) return false;
  for (std::size_t i = 0; i < kFileScheme.size(); ++i)
    if (FoldAsciiCase(address[i]) != kFileScheme[i]) return false;
  return true;
}

// "C:\" or "C:/"; a UNC path ("\\server\share") names another machine and is not one.
bool IsDrivePath(UStringRef<UTF16> address) {
  if (address.size() < 3) return false;
  const WCHAR drive = FoldAsciiCase(address[0]);
  return drive >= WIDE('a') && drive <= WIDE('z') && address[1] == WIDE(':') && (address[2] == WIDE('\\') || address[2] == WIDE('/'));
}

}  // namespace

bool IsLocalDocumentAddress(UStringRef<UTF16> address) {
  return address.empty() || HasFileScheme(address) || IsDrivePath(address);
}
