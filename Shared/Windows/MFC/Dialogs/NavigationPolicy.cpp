#include "Shared/Windows/MFC/Dialogs/NavigationPolicy.h"

#include <string_view>

#include <windows.h>
#include <shellapi.h>

#include "WideText.h"
#include "foundation/Ascii.h"
#include "foundation/FileAttributes.h"
#include "foundation/TextEncoding.h"
#include "foundation/URLInfo.h"

namespace {

bool StartsWith(UStringRef<UTF8> target, std::string_view prefix) {
  return Ascii::StartsWithIgnoringCase(target, UStringRef<UTF8>(prefix));
}

// ShellExecuteW's result above 32 is success; it is a handle-sized value read as signed.
bool OpenWithShell(UStringRef<UTF8> target, LPCWSTR verb) {
  const TerminatedU16 file = MakeTerminatedU16(TranscodeU8ToU16(target));
  const HINSTANCE result = ShellExecuteW(nullptr, verb, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(result)) > 32;
}

FileLocation LocalPath(UStringRef<UTF8> target) {
  if (StartsWith(target, "file:")) return URLInfo(target).ToFileLocation();
  return FileLocation(target);
}

bool NamesExistingFile(UStringRef<UTF8> target) {
  return FileAttributes(LocalPath(target)) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

NavigationAction DecideNavigation(UStringRef<UTF8> target) {
  if (StartsWith(target, "http:") || StartsWith(target, "https:")) {
    if (OpenWithShell(target, WIDE("open"))) return NavigationAction::HandedToShell;
  }
  if (StartsWith(target, "mailto:")) {
    if (OpenWithShell(target, nullptr)) return NavigationAction::HandedToShell;
  }
  if (NamesExistingFile(target)) return NavigationAction::LoadInPlace;
  if (StartsWith(target, "javascript:")) return NavigationAction::LoadInPlace;
  return NavigationAction::OpenInNewWindow;
}
