#include "gtk/TextConversion.h"

#include "core/kernel/UtfCodec.h"

namespace gtkui {

std::string Utf8Of(std::u16string_view text) { return Utf::LenientUtf8(text); }

std::u16string Utf16Of(std::string_view text) { return Utf::LenientUtf16(text); }

}  // namespace gtkui
