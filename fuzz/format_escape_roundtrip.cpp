// Escaping any bytes gives a template that renders back to exactly those bytes, whether
// the text needed escaping or not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "foundation/EscapeFormatText.h"
#include "foundation/FormatTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const UStringRef<UTF8> input(reinterpret_cast<const char*>(data), size);
  const EscapedFormatText escaped = EscapeFormatText(input);
  if (!escaped.OwnsText() && escaped.Ref().begin() != input.begin()) std::abort();
  const CopiedUString<UTF8> rendered = Format(MakeFormatTemplate(escaped.Ref()));
  if (rendered.view() != input.view()) std::abort();
  return 0;
}
