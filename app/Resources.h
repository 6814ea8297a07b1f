// The launcher's resources: the main dialog (131), the guide dialog (1033), the window icon
// (162) and the manifest, as the bytes the resource compiler would put into the executable.
// They are built at compile time and registered with the platform by
// RegisterApplicationResources(), which the launcher calls at start-up and tests call before
// they load a template.
#pragma once

#include <array>
#include <cstddef>

#include <windows.h>

#include "SdkGaps.h"
#include "WideText.h"

namespace ApplicationResources {

inline constexpr WORD kMainDialog = 131;
inline constexpr WORD kPlaceholderControl = 1033;
inline constexpr WORD kGuideDialog = 1033;
inline constexpr WORD kWindowIcon = 162;

// Little-endian bytes written field by field, at compile time.
template <std::size_t Capacity>
struct ResourceBytes {
  std::array<BYTE, Capacity> data{};
  DWORD size = 0;

  constexpr ResourceBytes& Byte(BYTE value) {
    data[size++] = value;
    return *this;
  }
  constexpr ResourceBytes& Word(WORD value) { return Byte(static_cast<BYTE>(value)).Byte(static_cast<BYTE>(value >> 8)); }
  constexpr ResourceBytes& Dword(DWORD value) {
    return Word(static_cast<WORD>(value)).Word(static_cast<WORD>(value >> 16));
  }
  // A zero-terminated UTF-16 text.
  constexpr ResourceBytes& Text(const WCHAR* text) {
    for (; *text != 0; ++text) Word(static_cast<WORD>(*text));
    return Word(0);
  }
  constexpr ResourceBytes& Ordinal(WORD number) { return Word(0xFFFF).Word(number); }
  constexpr ResourceBytes& AlignTo4() {
    while (size % 4 != 0) Byte(0);
    return *this;
  }
};

// The extended dialog header up to the item count's following coordinates.
template <std::size_t Capacity>
constexpr void ExtendedDialogHeader(ResourceBytes<Capacity>& t, DWORD exStyle, DWORD style, WORD items, short cx, short cy) {
  t.Word(1).Word(0xFFFF).Dword(0).Dword(exStyle).Dword(style).Word(items);
  t.Word(0).Word(0).Word(static_cast<WORD>(cx)).Word(static_cast<WORD>(cy));
}

// The font block: 8 points, weight 400, not italic, character set 1, "MS Shell Dlg".
template <std::size_t Capacity>
constexpr void ShellDialogFont(ResourceBytes<Capacity>& t) {
  t.Word(8).Word(FW_NORMAL).Byte(0).Byte(DEFAULT_CHARSET).Text(WIDE("MS Shell Dlg"));
}

// Main dialog: a captioned popup with a modal frame and no sizing border, 463 x 263 units,
// holding one static placeholder that marks the guide dialog's rectangle. 178 bytes.
constexpr ResourceBytes<256> BuildMainDialog() {
  ResourceBytes<256> t;
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
  ExtendedDialogHeader(t, 0, style, 1, 463, 263);
  t.Word(0).Word(0).Text(WIDE("Tessarin Installation Guide"));  // no menu, the dialog class
  ShellDialogFont(t);
  t.AlignTo4();
  constexpr DWORD placeholderStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER | SS_CENTERIMAGE;
  t.Dword(0).Dword(0).Dword(placeholderStyle).Word(0).Word(0).Word(463).Word(264).Dword(kPlaceholderControl);
  t.Ordinal(0x0082).Text(WIDE("<placeholder>")).Word(0);  // "Static", its text, no creation data
  return t;
}

// Guide dialog: a child dialog without caption or controls, 230 x 146 units, not visible when
// created. 64 bytes.
constexpr ResourceBytes<128> BuildGuideDialog() {
  ResourceBytes<128> t;
  ExtendedDialogHeader(t, WS_EX_CONTROLPARENT, WS_CHILD | DS_CONTROL | DS_SETFONT | DS_FIXEDSYS, 0, 230, 146);
  t.Word(0).Word(0).Word(0);  // no menu, the dialog class, no caption
  ShellDialogFont(t);
  return t;
}

// The colour of the icon's pixel (x, y), rows counted from the top: a blue tile with a white
// "T" and a one-pixel darker rim, in 0xAARRGGBB.
constexpr DWORD IconPixel(int x, int y, int side) {
  const int unit = side / 16;
  const bool rim = x < unit || y < unit || x >= side - unit || y >= side - unit;
  const bool bar = y >= 3 * unit && y < 5 * unit && x >= 3 * unit && x < side - 3 * unit;
  const bool stem = y >= 5 * unit && y < side - 3 * unit && x >= 7 * unit && x < side - 7 * unit;
  if (rim) return 0xFF103A70;
  if (bar || stem) return 0xFFFFFFFF;
  return 0xFF2F6FB8;
}

// One RT_ICON image: a 32-bit BITMAPINFOHEADER of twice the height (colour and mask), the
// colour rows bottom up, then an all-zero AND mask with rows padded to 32 bits.
template <int Side>
constexpr auto BuildIconImage() {
  constexpr std::size_t maskRow = ((Side + 31) / 32) * 4;
  ResourceBytes<40 + Side * Side * 4 + maskRow * Side> t;
  t.Dword(40).Dword(Side).Dword(2 * Side).Word(1).Word(32).Dword(0);
  t.Dword(Side * Side * 4 + maskRow * Side).Dword(0).Dword(0).Dword(0).Dword(0);
  for (int row = Side - 1; row >= 0; --row)
    for (int x = 0; x < Side; ++x) {
      const DWORD argb = IconPixel(x, row, Side);
      t.Byte(static_cast<BYTE>(argb)).Byte(static_cast<BYTE>(argb >> 8)).Byte(static_cast<BYTE>(argb >> 16)).Byte(static_cast<BYTE>(argb >> 24));
    }
  for (std::size_t i = 0; i < maskRow * Side; ++i) t.Byte(0);
  return t;
}

inline constexpr WORD kIconImage16 = 1;
inline constexpr WORD kIconImage32 = 2;

// The RT_GROUP_ICON directory: reserved 0, type 1, count, then per image width, height,
// colour count, reserved, planes, bits per pixel, byte size and the RT_ICON number.
constexpr ResourceBytes<64> BuildIconGroup(DWORD bytes16, DWORD bytes32) {
  ResourceBytes<64> t;
  t.Word(0).Word(1).Word(2);
  t.Byte(16).Byte(16).Byte(0).Byte(0).Word(1).Word(32).Dword(bytes16).Word(kIconImage16);
  t.Byte(32).Byte(32).Byte(0).Byte(0).Word(1).Word(32).Dword(bytes32).Word(kIconImage32);
  return t;
}

inline constexpr auto kMainDialogBytes = BuildMainDialog();
inline constexpr auto kGuideDialogBytes = BuildGuideDialog();
inline constexpr auto kIcon16Bytes = BuildIconImage<16>();
inline constexpr auto kIcon32Bytes = BuildIconImage<32>();
inline constexpr auto kIconGroupBytes = BuildIconGroup(kIcon16Bytes.size, kIcon32Bytes.size);
static_assert(kMainDialogBytes.size == 178, "the main dialog template as the resource compiler writes it");
static_assert(kGuideDialogBytes.size == 64, "the guide dialog template as the resource compiler writes it");

// Administrator rights and DPI awareness.
inline constexpr char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
    "    <security>\r\n"
    "      <requestedPrivileges>\r\n"
    "        <requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>\r\n"
    "      </requestedPrivileges>\r\n"
    "    </security>\r\n"
    "  </trustInfo>\r\n"
    "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
    "    <windowsSettings>\r\n"
    "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>\r\n"
    "    </windowsSettings>\r\n"
    "  </application>\r\n"
    "</assembly>\r\n";

inline const RESOURCE_TABLE_ENTRY kTable[] = {
    {RT_DIALOG, MAKEINTRESOURCEW(kMainDialog), 0, kMainDialogBytes.data.data(), kMainDialogBytes.size},
    {RT_DIALOG, MAKEINTRESOURCEW(kGuideDialog), 0, kGuideDialogBytes.data.data(), kGuideDialogBytes.size},
    {RT_ICON, MAKEINTRESOURCEW(kIconImage16), 0, kIcon16Bytes.data.data(), kIcon16Bytes.size},
    {RT_ICON, MAKEINTRESOURCEW(kIconImage32), 0, kIcon32Bytes.data.data(), kIcon32Bytes.size},
    {RT_GROUP_ICON, MAKEINTRESOURCEW(kWindowIcon), 0, kIconGroupBytes.data.data(), kIconGroupBytes.size},
    {RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID, 0, kManifest, sizeof(kManifest) - 1},
};

}  // namespace ApplicationResources

// Registers the table above as the process module's resources; calling it again is harmless.
inline BOOL RegisterApplicationResources() {
  return RegisterModuleResources(nullptr, ApplicationResources::kTable,
                                 static_cast<UINT>(std::size(ApplicationResources::kTable)));
}
