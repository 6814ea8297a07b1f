// Reads a dialog template of either form (DLGTEMPLATE, DLGTEMPLATEEX) without leaving the
// bytes it was given: a template that ends early, an item count larger than its bytes, or a
// text without its terminator is refused with the place where the bytes ran out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <windows.h>

#include "WideText.h"

// A menu, class or title field: nothing, a number (0xFFFF n) or a text.
struct NameOrNumber {
  enum class Kind { None, Number, Text } kind = Kind::None;
  WORD number = 0;
  WString text;
  // The field's words as they stand in the template (for a title passed on as a number).
  WString raw;
};

struct DialogItemDescription {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrNumber windowClass;
  NameOrNumber title;
  // The creation data from its size word on, or null for none.
  const BYTE* creationData = nullptr;
  WORD creationDataSize = 0;
};

struct DialogDescription {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrNumber menu;
  NameOrNumber windowClass;
  NameOrNumber title;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charSet = 0;
  WString faceName;
  // Offsets of the title's end, of the font block and of the face name's end (for the
  // template editor).
  std::size_t titleEnd = 0;
  std::size_t fontOffset = 0;
  std::size_t fontEnd = 0;
  std::vector<DialogItemDescription> items;
  std::vector<std::size_t> itemOffsets;
  // The bytes up to the end of the last item.
  std::size_t size = 0;
};

struct DialogTemplateReadResult {
  bool ok = false;
  DialogDescription dialog;
  // What was missing, for a refused template ("item 2 of 3: class", ...).
  std::string problem;
};

DialogTemplateReadResult ReadDialogTemplate(const void* data, std::size_t size);
