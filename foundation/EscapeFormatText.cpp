#include "foundation/EscapeFormatText.h"

#include <string_view>

#include "foundation/UStringBuilder.h"

namespace {

bool NeedsEscape(char c) { return c == '\t' || c == '\n' || c == '\r' || c == '{' || c == '}'; }

}  // namespace

EscapedFormatText EscapeFormatText(UStringRef<UTF8> text) {
  const char* const begin = text.begin();
  const char* const end = begin + text.size();
  const char* position = begin;
  while (position != end && !NeedsEscape(*position)) ++position;
  if (position == end) return EscapedFormatText(text);

  UStringBuilder<UTF8> builder(text.size());
  builder.Begin();
  const char* run = begin;  // start of the bytes copied unchanged
  while (position != end) {
    const char c = *position;
    if (!NeedsEscape(c)) {
      ++position;
      continue;
    }
    builder.Receive(UStringRef<UTF8>(run, position));
    std::string_view special;
    switch (c) {
      case '\t':
        special = "{_tab}";
        break;
      case '\n':
        special = "{_lf}";
        break;
      case '\r':
        if (position + 1 != end && position[1] == '\n') {
          special = "{_crlf}";
          ++position;
        } else {
          special = "{_cr}";
        }
        break;
      case '{':
        special = "{_obrace}";
        break;
      default:
        special = "{_cbrace}";
        break;
    }
    builder.Receive(UStringRef<UTF8>(special));
    ++position;
    run = position;
  }
  builder.Receive(UStringRef<UTF8>(run, end));
  builder.End();
  return EscapedFormatText(builder.TakeText());
}
