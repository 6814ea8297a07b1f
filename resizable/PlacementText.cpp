#include "resizable/PlacementText.h"

#include <charconv>

#include <windows.h>
#include <winuser.h>

#include "WideText.h"

namespace {

void AppendDecimal(CopiedUString<UTF16>& out, long long value) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (const char* p = digits; p != end; ++p) out.Append(static_cast<WCHAR>(*p));
}

}  // namespace

CopiedUString<UTF16> MakePlacementText(const PlacementFields& fields, bool rectOnly) {
  // Show command and flags are signed in the text, as "%d" writes them.
  const long long values[8] = {
      fields.normal.left,
      fields.normal.top,
      fields.normal.right,
      fields.normal.bottom,
      rectOnly ? SW_SHOWNORMAL : static_cast<INT>(fields.showCommand),
      rectOnly ? 0 : static_cast<INT>(fields.flags),
      rectOnly ? 0 : fields.minimised.x,
      rectOnly ? 0 : fields.minimised.y,
  };
  CopiedUString<UTF16> text;
  for (int i = 0; i < 8; ++i) {
    if (i != 0) text.Append(WIDE(','));
    AppendDecimal(text, values[i]);
  }
  return text;
}

CopiedUString<UTF16> MakePlacementValueName(UStringRef<UTF16> prefix) {
  CopiedUString<UTF16> name(prefix);
  name.Append(UStringRef<UTF16>(WStringView(WIDE("WindowPlacement"))));
  return name;
}
