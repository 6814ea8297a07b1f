#include "resizable/DialogTextPath.h"

#include "foundation/EscapeFormatText.h"
#include "foundation/FormatTemplate.h"
#include "foundation/TextEncoding.h"

CopiedUString<UTF16> DialogTextPath(UStringRef<UTF16> text) {
  const CopiedUString<UTF8> utf8 = TranscodeU16ToU8(text);
  const EscapedFormatText escaped = EscapeFormatText(utf8.Ref());
  // The escaped text must outlive the template, which only refers to it.
  const FormatTemplate format = MakeFormatTemplate(escaped.Ref());
  const CopiedUString<UTF8> rendered = Format(format);
  return TranscodeU8ToU16(rendered.Ref());
}
