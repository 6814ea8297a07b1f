// Encoding tags: the text templates take one of them to know their code unit.
#pragma once

#include "WideText.h"

struct UTF8 {
  using Unit = char;
};

struct UTF16 {
  // One UTF-16 unit in platform byte order: the API's own WCHAR.
  using Unit = WCHAR;
};
