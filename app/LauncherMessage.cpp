#include "app/LauncherMessage.h"

#include <windows.h>

#include "foundation/DebuggableException.h"
#include "foundation/TextEncoding.h"

void ShowLauncherError(UStringRef<UTF8> text) {
  const TerminatedU16 wide = MakeTerminatedU16(ConvertU8ToU16Lenient(text));
  MessageBoxW(nullptr, wide.c_str(), kLauncherCaption, MB_OK | MB_ICONERROR);
}

CopiedUString<UTF8> ErrorText(const std::exception& error) {
  if (const auto* own = dynamic_cast<const DebuggableException*>(&error)) return CopiedUString<UTF8>(own->MessageUtf8());
  const char* text = error.what();
  return CopiedUString<UTF8>(std::string_view(text != nullptr ? text : ""));
}
