// GTK names fonts the Pango way ("Cantarell 11", "DejaVu Sans Bold Italic 9", "Noto Sans,
// Sans 10px"); the platform describes them as LOGFONTW records in pixels.
#pragma once

#include <string_view>

#include <windows.h>

namespace gtkui {

// The record of a font name at the screen's dots per inch: lfHeight is the negative character
// height in pixels (points * dpi / 72, rounded; a size given in pixels is taken as it is; no
// size means 10 points), lfWeight the font's weight, lfItalic 1 for italic and oblique
// styles, the face the first family named, cut to the record's 31 units.
LOGFONTW LogFontOfFontName(std::string_view name, int dpi);

}  // namespace gtkui
