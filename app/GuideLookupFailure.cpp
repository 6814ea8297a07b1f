#include "app/GuideLookupFailure.h"

#include <string>
#include <string_view>

#include "app/GuideLocation.h"
#include "app/LauncherMessage.h"
#include "foundation/FormatTemplate.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr std::string_view kValueUnreadable =
    "The installation guide cannot be shown, because the registry value \"{value}\" of the key "
    "\"HKEY_LOCAL_MACHINE\\{key}\" could not be read.\n\n{error}\n\n"
    "Please install the Tessarin Installation Generator again.";
constexpr std::string_view kKeyUnopened =
    "The installation guide cannot be shown, because the registry key \"HKEY_LOCAL_MACHINE\\{key}\" could not "
    "be opened.\n\n{error}\n\nPlease install the Tessarin Installation Generator again.";
constexpr std::string_view kOtherFailure = "The installation guide cannot be shown.\n\n{error}";

CopiedUString<UTF8> Utf8(LPCWSTR text) {
  return ConvertU16ToU8Lenient(UStringRef<UTF16>(text, std::char_traits<WCHAR>::length(text)));
}

}  // namespace

CopiedUString<UTF8> DescribeGuideLookupFailure(const GuideLookupProgress& progress, const std::exception& error) {
  const CopiedUString<UTF8> errorText = ErrorText(error);
  if (progress.valueName == nullptr) return Format(UStringRef<UTF8>(kOtherFailure), {errorText.Ref()});
  const CopiedUString<UTF8> key = Utf8(kGeneratorKeyPath);
  if (!progress.keyOpened) return Format(UStringRef<UTF8>(kKeyUnopened), {key.Ref(), errorText.Ref()});
  const CopiedUString<UTF8> value = Utf8(progress.valueName);
  return Format(UStringRef<UTF8>(kValueUnreadable), {value.Ref(), key.Ref(), errorText.Ref()});
}
