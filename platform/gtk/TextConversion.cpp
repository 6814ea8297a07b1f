#include "gtk/TextConversion.h"

#include "core/kernel/UtfCodec.h"

namespace gtkui {

std::string Utf8Of(std::u16string_view text) {
  const Utf::Outcome size = Utf::Utf16ToUtf8(text.data(), text.size(), nullptr, 0, false);
  std::string out(size.units, '\0');
  Utf::Utf16ToUtf8(text.data(), text.size(), out.data(), out.size(), false);
  return out;
}

std::u16string Utf16Of(std::string_view text) {
  const Utf::Outcome size = Utf::Utf8ToUtf16(text.data(), text.size(), nullptr, 0, false);
  std::u16string out(size.units, u'\0');
  Utf::Utf8ToUtf16(text.data(), text.size(), out.data(), out.size(), false);
  return out;
}

}  // namespace gtkui
