// UTF-8 (GTK, GLib, WebKit) and UTF-16 (the platform) texts at the boundary. Leniently: a
// text that is not well formed gets U+FFFD where it breaks, as a window title or a page
// address should still show.
#pragma once

#include <string>
#include <string_view>

namespace gtkui {

std::string Utf8Of(std::u16string_view text);
std::u16string Utf16Of(std::string_view text);

}  // namespace gtkui
