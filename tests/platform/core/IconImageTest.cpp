// Icon images as the presenter reads them: colour depths, the transparency mask against a
// 32-bit alpha channel, rows stored from the bottom, and images whose bytes end early.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/user/IconImage.h"

namespace {

struct Rgba {
  std::uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

// A 2 x 2 icon image: header (height doubled), palette, colour rows and mask rows, each list
// given from the bottom row up, as the bitmap stores them.
std::vector<std::uint8_t> IconBytes(int bitCount, const std::vector<std::uint32_t>& palette,
                                    const std::vector<std::vector<std::uint8_t>>& colorRows,
                                    const std::vector<std::uint8_t>& maskRows) {
  std::vector<std::uint8_t> b;
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  u32(40), u32(2), u32(4), u16(1), u16(static_cast<std::uint16_t>(bitCount)), u32(0), u32(0), u32(0), u32(0);
  u32(static_cast<std::uint32_t>(palette.size())), u32(0);
  for (std::uint32_t c : palette) u32(c);
  for (const auto& row : colorRows) {
    b.insert(b.end(), row.begin(), row.end());
    b.resize(b.size() + (4 - row.size() % 4) % 4, 0);
  }
  for (std::uint8_t m : maskRows) b.insert(b.end(), {m, 0, 0, 0});
  return b;
}

Rgba At(const IconImage& image, int x, int y) {
  const std::uint8_t* p = image.rgba.data() + (y * image.width + x) * 4;
  return Rgba{p[0], p[1], p[2], p[3]};
}

TEST(IconImageTest, DepthsMaskAndRowOrder) {
  // Mask bit set = transparent; the mask's rows are bottom-up like the colours'. Top-left
  // transparent in each case.
  const std::vector<std::uint8_t> maskTopLeft{0x00, 0x80};
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    Rgba topLeft, topRight, bottomLeft, bottomRight;
  } cases[] = {
      {"24-bit: blue, green, red bytes; bottom row first",
       IconBytes(24, {}, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}, maskTopLeft),
       {9, 8, 7, 0}, {12, 11, 10, 255}, {3, 2, 1, 255}, {6, 5, 4, 255}},
      {"4-bit: two entries per byte, high nibble first, through the palette",
       IconBytes(4, {0x000000FF, 0x0000FF00, 0x00FF0000}, {{0x01}, {0x20}}, maskTopLeft),
       {255, 0, 0, 0}, {0, 0, 255, 255}, {0, 0, 255, 255}, {0, 255, 0, 255}},
      {"32-bit with alpha: the alpha bytes win over the mask",
       IconBytes(32, {}, {{1, 1, 1, 10, 2, 2, 2, 20}, {3, 3, 3, 30, 4, 4, 4, 0}}, maskTopLeft),
       {3, 3, 3, 30}, {4, 4, 4, 0}, {1, 1, 1, 10}, {2, 2, 2, 20}},
      {"32-bit without alpha: the mask decides",
       IconBytes(32, {}, {{1, 1, 1, 0, 2, 2, 2, 0}, {3, 3, 3, 0, 4, 4, 4, 0}}, maskTopLeft),
       {3, 3, 3, 0}, {4, 4, 4, 255}, {1, 1, 1, 255}, {2, 2, 2, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IconImage image;
    ASSERT_TRUE(DecodeIconBitmap(c.bytes.data(), c.bytes.size(), image));
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(At(image, 0, 0), c.topLeft);
    EXPECT_EQ(At(image, 1, 0), c.topRight);
    EXPECT_EQ(At(image, 0, 1), c.bottomLeft);
    EXPECT_EQ(At(image, 1, 1), c.bottomRight);
  }
}

TEST(IconImageTest, RefusesWhatItCannotReadWithoutReadingPastTheBytes) {
  const std::vector<std::uint8_t> good = IconBytes(24, {}, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}, {0, 0});
  IconImage image;
  ASSERT_TRUE(DecodeIconBitmap(good.data(), good.size(), image));

  std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
  EXPECT_FALSE(DecodeIconBitmap(truncated.data(), truncated.size(), image)) << "mask cut short";
  std::vector<std::uint8_t> png = good;
  png[0] = 0x89;  // a PNG-compressed entry starts with its signature, not a header size
  EXPECT_FALSE(DecodeIconBitmap(png.data(), png.size(), image));
  std::vector<std::uint8_t> compressed = good;
  compressed[16] = 1;  // BI_RLE8
  EXPECT_FALSE(DecodeIconBitmap(compressed.data(), compressed.size(), image));
  std::vector<std::uint8_t> oddHeight = good;
  oddHeight[8] = 3;
  EXPECT_FALSE(DecodeIconBitmap(oddHeight.data(), oddHeight.size(), image));
  // A palette index beyond the colours the palette has.
  const std::vector<std::uint8_t> badIndex = IconBytes(4, {0x00FFFFFF}, {{0x10}, {0x00}}, {0, 0});
  EXPECT_FALSE(DecodeIconBitmap(badIndex.data(), badIndex.size(), image));
}

}  // namespace
