#include "gtk/FontDescription.h"

#include <pango/pango.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/kernel/UtfCodec.h"

namespace gtkui {

namespace {

constexpr double kDefaultPoints = 10.0;

// The first of a comma-separated list of families, without surrounding blanks.
std::string FirstFamily(const char* families) {
  std::string family = families != nullptr ? families : "";
  family = family.substr(0, family.find(','));
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!family.empty() && blank(family.back())) family.pop_back();
  const auto start = std::find_if_not(family.begin(), family.end(), blank);
  return std::string(start, family.end());
}

void SetFace(LOGFONTW& font, const std::string& family) {
  std::u16string face(LF_FACESIZE * 4, u'\0');
  const Utf::Outcome done = Utf::Utf8ToUtf16(family.data(), family.size(), face.data(), face.size(), false);
  face.resize(done.units);
  std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  // Never keep half of a surrogate pair.
  if (length > 0 && length < face.size() && face[length - 1] >= 0xD800 && face[length - 1] <= 0xDBFF) --length;
  std::copy_n(face.begin(), length, font.lfFaceName);
  font.lfFaceName[length] = 0;
}

}  // namespace

LOGFONTW LogFontOfFontName(std::string_view name, int dpi) {
  const std::string text(name);
  PangoFontDescription* description = pango_font_description_from_string(text.c_str());
  LOGFONTW font{};
  const int size = pango_font_description_get_size(description);
  double pixels;
  if (size <= 0)
    pixels = kDefaultPoints * dpi / 72.0;
  else if (pango_font_description_get_size_is_absolute(description))
    pixels = static_cast<double>(size) / PANGO_SCALE;
  else
    pixels = static_cast<double>(size) / PANGO_SCALE * dpi / 72.0;
  font.lfHeight = -std::max<LONG>(1, static_cast<LONG>(std::lround(pixels)));
  font.lfWeight = std::clamp<LONG>(pango_font_description_get_weight(description), 1, 1000);
  const PangoStyle style = pango_font_description_get_style(description);
  font.lfItalic = style == PANGO_STYLE_ITALIC || style == PANGO_STYLE_OBLIQUE ? 1 : 0;
  font.lfCharSet = DEFAULT_CHARSET;
  SetFace(font, FirstFamily(pango_font_description_get_family(description)));
  pango_font_description_free(description);
  return font;
}

}  // namespace gtkui
