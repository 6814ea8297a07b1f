// Encoding tags: the text templates take one of them to know their code unit.
#pragma once

struct UTF8 {
  using Unit = char;
};

struct UTF16 {
  // One UTF-16 unit in platform byte order; matches the platform's WCHAR.
  using Unit = char16_t;
};
