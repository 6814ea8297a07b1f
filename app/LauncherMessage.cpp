#include "app/LauncherMessage.h"

#include <windows.h>

#include "foundation/TextEncoding.h"

void ShowLauncherError(UStringRef<UTF8> text) {
  const TerminatedU16 wide = MakeTerminatedU16(ConvertU8ToU16Lenient(text));
  MessageBoxW(nullptr, wide.c_str(), kLauncherCaption, MB_OK | MB_ICONERROR);
}
