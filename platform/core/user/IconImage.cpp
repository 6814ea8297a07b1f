#include "core/user/IconImage.h"

#include <cstring>
#include <utility>

namespace {

constexpr std::size_t kHeaderSize = 40;

std::uint32_t ReadU32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t ReadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Bytes per row of a bitmap: rows are padded to whole 32-bit words.
std::size_t Stride(int width, int bitCount) { return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4; }

// The colour index or the mask bit of pixel x in a row of 1-, 4- or 8-bit entries.
unsigned PackedEntry(const std::uint8_t* row, int x, int bitCount) {
  const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
  const unsigned byte = row[bit / 8];
  const unsigned shift = 8 - bitCount - static_cast<unsigned>(bit % 8);
  return (byte >> shift) & ((1u << bitCount) - 1);
}

}  // namespace

bool DecodeIconBitmap(const void* bytes, std::size_t size, IconImage& image) {
  const auto* data = static_cast<const std::uint8_t*>(bytes);
  if (data == nullptr || size < kHeaderSize || ReadU32(data) != kHeaderSize) return false;
  const auto width = static_cast<std::int32_t>(ReadU32(data + 4));
  const auto doubledHeight = static_cast<std::int32_t>(ReadU32(data + 8));
  const int bitCount = ReadU16(data + 14);
  const std::uint32_t compression = ReadU32(data + 16);
  const std::uint32_t colorsUsed = ReadU32(data + 32);
  if (width <= 0 || width > 1024 || doubledHeight <= 0 || doubledHeight > 2048 || doubledHeight % 2 != 0) return false;
  if (compression != 0) return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
  const int height = doubledHeight / 2;
  const std::size_t paletteCount = bitCount <= 8 ? (colorsUsed != 0 ? colorsUsed : (1u << bitCount)) : 0;
  if (paletteCount > 256) return false;
  const std::size_t colorStride = Stride(width, bitCount);
  const std::size_t maskStride = Stride(width, 1);
  const std::uint8_t* palette = data + kHeaderSize;
  const std::uint8_t* colors = palette + 4 * paletteCount;
  const std::uint8_t* mask = colors + colorStride * height;
  const std::size_t needed = kHeaderSize + 4 * paletteCount + (colorStride + maskStride) * height;
  if (size < needed) return false;

  IconImage out;
  out.width = width;
  out.height = height;
  out.rgba.resize(static_cast<std::size_t>(width) * height * 4);
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    // Bitmap rows run from the bottom up.
    const std::uint8_t* colorRow = colors + colorStride * (height - 1 - y);
    std::uint8_t* pixel = out.rgba.data() + static_cast<std::size_t>(y) * width * 4;
    for (int x = 0; x < width; ++x, pixel += 4) {
      const std::uint8_t* bgr;
      if (bitCount <= 8) {
        const unsigned index = PackedEntry(colorRow, x, bitCount);
        if (index >= paletteCount) return false;
        bgr = palette + 4 * index;
      } else {
        bgr = colorRow + static_cast<std::size_t>(x) * (bitCount / 8);
      }
      pixel[0] = bgr[2];
      pixel[1] = bgr[1];
      pixel[2] = bgr[0];
      pixel[3] = bitCount == 32 ? bgr[3] : 0;
      anyAlpha = anyAlpha || pixel[3] != 0;
    }
  }
  if (!anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* maskRow = mask + maskStride * (height - 1 - y);
      std::uint8_t* pixel = out.rgba.data() + static_cast<std::size_t>(y) * width * 4;
      for (int x = 0; x < width; ++x, pixel += 4) pixel[3] = PackedEntry(maskRow, x, 1) ? 0 : 255;
    }
  }
  image = std::move(out);
  return true;
}
