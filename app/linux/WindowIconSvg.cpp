// Writes the window icon (162) as an SVG image for the desktop's icon theme, from the same
// pixels the launcher's resources are drawn with, so the menu and the window show one design.
// The icon is drawn on a 16-unit grid; each unit becomes one square of the SVG's 16 x 16 view.
//
// Usage: tessarin-guide-icon OUTPUT.svg

#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/Resources.h"

namespace {

constexpr int kGrid = 16;

struct Rectangle {
  int left, top, width, height;
  DWORD argb;
};

// Horizontal runs of one colour, then runs of the same extent in consecutive rows joined.
std::vector<Rectangle> Rectangles() {
  std::map<std::tuple<int, int, DWORD>, Rectangle*> growing;  // (left, width, colour) -> open
  std::vector<Rectangle> done;
  done.reserve(kGrid * kGrid);
  for (int y = 0; y < kGrid; ++y) {
    std::map<std::tuple<int, int, DWORD>, Rectangle*> next;
    for (int x = 0; x < kGrid;) {
      const DWORD argb = ApplicationResources::IconPixel(x, y, kGrid);
      int end = x + 1;
      while (end < kGrid && ApplicationResources::IconPixel(end, y, kGrid) == argb) ++end;
      const auto key = std::make_tuple(x, end - x, argb);
      if (auto open = growing.find(key); open != growing.end()) {
        ++open->second->height;
        next[key] = open->second;
      } else {
        done.push_back({x, y, end - x, 1, argb});
        next[key] = &done.back();
      }
      x = end;
    }
    growing = std::move(next);
  }
  return done;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.svg\n", argv[0]);
    return 2;
  }
  FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  std::fprintf(out, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 %d %d\" "
                    "shape-rendering=\"crispEdges\">\n", kGrid, kGrid);
  for (const Rectangle& r : Rectangles())
    std::fprintf(out, "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%06lX\"/>\n", r.left, r.top, r.width,
                 r.height, static_cast<unsigned long>(r.argb & 0xFFFFFF));
  std::fprintf(out, "</svg>\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
