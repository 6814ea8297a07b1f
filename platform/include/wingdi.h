// Device contexts, fonts and regions of the platform's graphics interface. Values and record
// layouts are the platform's.
#pragma once

#include "windef.h"

struct HBITMAP__ {
  int unused;
};
typedef HBITMAP__* HBITMAP;

// ---- Fonts --------------------------------------------------------------------------------

#define LF_FACESIZE 32

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2

struct LOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW* LPLOGFONTW;
static_assert(sizeof(LOGFONTW) == 92, "the platform's record size");

// A font object remembers the LOGFONTW it was made from; GetObjectW hands it back.
HFONT CreateFontIndirectW(const LOGFONTW* logFont);
int GetObjectW(HANDLE object, int size, LPVOID buffer);

// ---- Device contexts ----------------------------------------------------------------------

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// GetDC(nullptr) is the screen's context. ReleaseDC answers 1 when it released the context.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

// ---- Text ---------------------------------------------------------------------------------

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRICW* LPTEXTMETRICW;
static_assert(sizeof(TEXTMETRICW) == 60, "the platform's record size");

// A context starts with the desktop's message font; SelectObject of a font answers the font
// it replaces. Core knows a font's cell height and average character width from the desktop
// service: GetTextMetricsW fills those (with the weight, italic flag and character set of the
// font) and leaves the other fields 0, and a text's extent is that many average widths.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);

// ---- Regions ------------------------------------------------------------------------------

// Results of the region calls.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR

// Modes of CombineRgn and ExtSelectClipRgn.
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define RGN_MIN RGN_AND
#define RGN_MAX RGN_COPY

// Polygon fill modes.
#define ALTERNATE 1
#define WINDING 2

// Regions hold whole pixels; right and bottom edges are exclusive. A rectangle given with its
// corners swapped is normalised; one of zero width or height is the empty region.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// A pixel belongs to the polygon when its centre lies inside under the fill mode.
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
// The destination must exist already; it may be one of the sources.
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, LPRECT box);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN region1, HRGN region2);

// Clipping of a device context, in the context's coordinates (the window's client area). A
// context without a clip region draws on its whole surface; GetClipRgn answers 0 then.
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int SelectClipRgn(HDC dc, HRGN region);
int GetClipRgn(HDC dc, HRGN region);
int GetClipBox(HDC dc, LPRECT rect);

// Regions, fonts and bitmaps. A region owned by a window (SetWindowRgn) is not deleted.
BOOL DeleteObject(HGDIOBJ object);
