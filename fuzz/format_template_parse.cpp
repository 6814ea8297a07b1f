// Parsing and rendering arbitrary templates, with a few values and an arbitrary override,
// never crashes; the only exceptions that leave Format are the library's own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "foundation/DebuggableException.h"
#include "foundation/FormatOverrideContext.h"
#include "foundation/FormatTemplate.h"

namespace {

// Input layout: one byte giving the number of values (0 to 4) and whether an override is
// used, then the key, then after a 0xFF byte the override, when there is one.
void Run(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::size_t valueCount = data[0] % 5;
  const bool useOverride = (data[0] & 0x80) != 0;
  const char* text = reinterpret_cast<const char*>(data + 1);
  const std::size_t length = size - 1;
  const void* separator = std::memchr(text, 0xFF, length);
  const std::size_t keyLength = separator ? static_cast<const char*>(separator) - text : length;
  const UStringRef<UTF8> key(text, keyLength);
  const UStringRef<UTF8> replacement =
      separator ? UStringRef<UTF8>(text + keyLength + 1, length - keyLength - 1) : key;

  static const std::string_view kValues[] = {"", "value", "{b}", "\xC3\xA9\r\n"};
  UStringRef<UTF8> values[4];
  for (std::size_t i = 0; i < valueCount; ++i) values[i] = UStringRef<UTF8>(kValues[((data[0] >> 3) + i) & 3]);
  const FormatValues list(values, valueCount);

  try {
    const CopiedUString<UTF8> plain = Format(key, list);
    (void)plain;
  } catch (const DebuggableException&) {
  }

  if (!useOverride) return;
  const FormatOverridePair pair{key, replacement};
  const FormatOverrideTable table(&pair, &pair + 1);
  FormatOverrideLink link;
  link.table = &table;
  FormatOverrideContext& context = CurrentFormatOverrideContext();
  context.Attach(link);
  try {
    const FormatTemplate format = MakeFormatTemplate(key);
    const CopiedUString<UTF8> overridden = Format(format, list);
    (void)overridden;
  } catch (const DebuggableException&) {
  }
  context.Detach(link);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Run(data, size);
  return 0;
}
