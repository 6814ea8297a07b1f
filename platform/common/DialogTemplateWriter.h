// Writes a template that ReadDialogTemplate accepted back out, with its texts or its font
// changed: what the changes leave alone is written as it was read, every item on its 4-byte
// boundary, and nothing after the last item.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DialogTemplateReader.h"

struct DialogTemplateFont {
  WORD pointSize = 0;
  std::basic_string<WCHAR> faceName;
};

struct DialogTemplateChanges {
  // The caption and each item title that is a text go through it; numbers are kept.
  std::function<std::basic_string<WCHAR>(std::basic_string_view<WCHAR>)> retitle;
  // Sets DS_SETFONT and writes this font block; the extended form keeps the weight, italic
  // flag and character set of a font it had (FW_NORMAL, 0, DEFAULT_CHARSET for none).
  std::optional<DialogTemplateFont> font;
};

// dialog is what ReadDialogTemplate made of data.
std::vector<BYTE> WriteDialogTemplate(const void* data, const DialogDescription& dialog,
                                      const DialogTemplateChanges& changes);
