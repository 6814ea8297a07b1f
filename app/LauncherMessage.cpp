#include "app/LauncherMessage.h"

#include <cstdio>
#include <string>
#include <string_view>

#include <windows.h>

#include "WideText.h"
#include "foundation/DebuggableException.h"
#include "foundation/TextEncoding.h"

void ShowLauncherError(UStringRef<UTF8> text) {
  const TerminatedU16 wide = MakeTerminatedU16(ConvertU8ToU16Lenient(text));
  MessageBoxW(nullptr, wide.c_str(), kLauncherCaption, MB_OK | MB_ICONERROR);
}

void WriteLauncherLine(UStringRef<UTF8> text) {
  std::string line(ConvertU16ToU8Lenient(UStringRef<UTF16>(WStringView(kLauncherCaption))).view());
  line += ": ";
  for (const char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

CopiedUString<UTF8> NameForMessage(UStringRef<UTF8> name) {
  std::size_t characters = 0;
  for (const char* at = name.begin(); at != name.end(); ++at) {
    // Each byte that does not continue a UTF-8 sequence starts a character.
    if ((static_cast<unsigned char>(*at) & 0xC0) == 0x80) continue;
    if (characters++ == kLongestNameInMessage) {
      CopiedUString<UTF8> cut(UStringRef<UTF8>(name.begin(), at));
      cut.Append(UStringRef<UTF8>(std::string_view("\xE2\x80\xA6")));  // "…"
      return cut;
    }
  }
  return CopiedUString<UTF8>(name);
}

CopiedUString<UTF8> ErrorText(const std::exception& error) {
  if (const auto* own = dynamic_cast<const DebuggableException*>(&error)) return CopiedUString<UTF8>(own->MessageUtf8());
  const char* text = error.what();
  return CopiedUString<UTF8>(std::string_view(text != nullptr ? text : ""));
}
