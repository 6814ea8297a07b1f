// Little-endian dialog template bytes for the tests, written field by field.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <windows.h>

#include "WideText.h"

class TemplateBytes {
 public:
  TemplateBytes& Word(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  TemplateBytes& Dword(std::uint32_t v) { return Word(static_cast<std::uint16_t>(v)).Word(static_cast<std::uint16_t>(v >> 16)); }
  TemplateBytes& Byte(std::uint8_t v) {
    bytes_.push_back(v);
    return *this;
  }
  // A zero-terminated UTF-16 text.
  TemplateBytes& Text(WStringView text) {
    for (WCHAR c : text) Word(c);
    return Word(0);
  }
  TemplateBytes& Ordinal(std::uint16_t n) { return Word(0xFFFF).Word(n); }
  TemplateBytes& PadTo4() {
    while (bytes_.size() % 4) bytes_.push_back(0);
    return *this;
  }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The main window's template as its resource describes it: extended form, 463 x 263 units,
// 8 pt "MS Shell Dlg" (weight 400, character set 1), one static placeholder 1033.
inline TemplateBytes MainWindowTemplate(WStringView caption = WIDE("Tessarin Installation Guide"),
                                        WStringView face = WIDE("MS Shell Dlg"), std::uint16_t points = 8) {
  constexpr std::uint32_t kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
  constexpr std::uint32_t kPlaceholderStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTERIMAGE | SS_CENTER;
  TemplateBytes t;
  t.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(kStyle).Word(1);  // version, mark, help, ex style, style, items
  t.Word(0).Word(0).Word(463).Word(263);
  t.Word(0).Word(0).Text(caption);                                 // no menu, no class
  t.Word(points).Word(400).Byte(0).Byte(1).Text(face);
  t.PadTo4();
  t.Dword(0).Dword(0).Dword(kPlaceholderStyle).Word(0).Word(0).Word(463).Word(264).Dword(1033);
  t.Ordinal(0x0082).Text(WIDE("<placeholder>")).Word(0);                // static class, title, no data
  return t;
}
