#include "Shared/Windows/MFC/Dialogs/MessageFontStyle.h"

#include <cstdint>

#include "foundation/FormatTemplate.h"
#include "foundation/NumberText.h"
#include "foundation/TextEncoding.h"

namespace {

constexpr std::string_view kStyleTemplate =
    "font-family: {family}; font-size: {size}; font-weight: {weight}; font-style: {style}; overflow: auto";

// The face name ends at its first zero unit, or with the array when it has none.
UStringRef<UTF16> FaceName(const LOGFONTW& font) {
  std::size_t length = 0;
  while (length < LF_FACESIZE && font.lfFaceName[length] != 0) ++length;
  return UStringRef<UTF16>(font.lfFaceName, length);
}

}  // namespace

CopiedUString<UTF8> MessageFontStyle(const LOGFONTW& font) {
  const CopiedUString<UTF8> family = TranscodeU16ToU8(FaceName(font));
  // Widened first: the magnitude of the smallest LONG does not fit a LONG.
  const std::int64_t height = font.lfHeight;
  const auto size = ToDecimalText(static_cast<std::uint64_t>(height < 0 ? -height : height));
  const auto weight = ToDecimalText(static_cast<std::int64_t>(font.lfWeight));
  const std::string_view style = font.lfItalic != 0 ? "italic" : "normal";
  return Format(MakeFormatTemplate(UStringRef<UTF8>(kStyleTemplate)), {family, size, weight, UStringRef<UTF8>(style)});
}
