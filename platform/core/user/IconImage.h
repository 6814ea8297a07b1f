// The pixels of an icon, for a presenter that shows icons itself (a window's caption icon).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <windows.h>

struct IconImage {
  int width = 0;
  int height = 0;
  // Rows from the top, four bytes per pixel: red, green, blue, alpha (not premultiplied).
  std::vector<std::uint8_t> rgba;
};

// Decodes an icon image as icon resources hold it: a BITMAPINFOHEADER with the doubled
// height, the colour table, the colour bits and the 1-bit transparency mask, rows from the
// bottom. Depths 1, 4, 8, 24 and 32 are read; 32-bit images take their alpha from the colour
// bits unless every alpha byte is 0, when the mask decides as for the other depths. False
// for anything else, and for bytes that end before the image does.
bool DecodeIconBitmap(const void* bytes, std::size_t size, IconImage& image);

// The pixels of an icon that LoadIconW or LoadImageW made. False with ERROR_INVALID_HANDLE for
// a handle that is no icon, ERROR_INVALID_DATA for an image that cannot be read.
bool ReadIconImage(HICON icon, IconImage& image);
