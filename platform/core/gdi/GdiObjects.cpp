// GDI objects: regions, fonts and bitmaps in one handle table, so that DeleteObject accepts
// any of them and refuses everything else.
#include "core/gdi/GdiObjects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <variant>
#include <vector>

#include "core/kernel/HandleTable.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

struct RegionObject {
  RegionObject() { pixman_region32_init(&region); }
  ~RegionObject() { pixman_region32_fini(&region); }
  RegionObject(const RegionObject&) = delete;
  RegionObject& operator=(const RegionObject&) = delete;
  pixman_region32_t region;
  bool ownedByWindow = false;
};

struct FontObject {
  LOGFONTW logFont;
};

struct BitmapObject {
  int width;
  int height;
};

using GdiObject = std::variant<std::unique_ptr<RegionObject>, FontObject, BitmapObject>;

// GDI objects are used from the user-interface thread; the table's lock only keeps a stray
// call from another thread from corrupting it.
using GdiTable = core::HandleTable<HGDIOBJ, GdiObject>;

GdiTable& Table() {
  static auto* table = GdiTable::Make(0x00300004, 4, ERROR_INVALID_HANDLE);
  return *table;
}

RegionObject* RegionObjectOf(HRGN handle) {
  GdiObject* object = Table().Find(handle);
  if (object == nullptr) return nullptr;
  auto* region = std::get_if<std::unique_ptr<RegionObject>>(object);
  return region != nullptr ? region->get() : nullptr;
}

pixman_region32_t* RegionOrFail(HRGN handle) {
  pixman_region32_t* region = RegionOf(handle);
  if (region == nullptr) Table().ReportBadHandle();
  return region;
}

void SetToRect(pixman_region32_t* region, int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  pixman_region32_fini(region);
  if (left == right || top == bottom)
    pixman_region32_init(region);
  else
    pixman_region32_init_rect(region, left, top, static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top));
}

// The pixels whose centres lie inside the polygon: for each pixel row, the crossings of the
// row's centre line with the edges, filled pairwise (ALTERNATE) or where the winding number
// is not 0 (WINDING).
std::vector<pixman_box32_t> RasterizePolygon(const POINT* points, int count, int fillMode) {
  std::vector<pixman_box32_t> boxes;
  LONG minY = points[0].y;
  LONG maxY = points[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, points[i].y);
    maxY = std::max(maxY, points[i].y);
  }
  struct Crossing {
    double x;
    int direction;
  };
  std::vector<Crossing> crossings;
  for (LONG y = minY; y < maxY; ++y) {
    const double centre = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& a = points[i];
      const POINT& b = points[(i + 1) % count];
      if (a.y == b.y) continue;
      const LONG low = std::min(a.y, b.y);
      const LONG high = std::max(a.y, b.y);
      if (centre < low || centre >= high) continue;
      const double x = a.x + (centre - a.y) * static_cast<double>(b.x - a.x) / static_cast<double>(b.y - a.y);
      crossings.push_back({x, b.y > a.y ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].direction;
      const bool inside = fillMode == ALTERNATE ? (i % 2 == 0) : winding != 0;
      if (!inside) continue;
      // Pixel x is inside when x + 0.5 lies in [from, to).
      const auto first = static_cast<int32_t>(std::ceil(crossings[i].x - 0.5));
      const auto end = static_cast<int32_t>(std::ceil(crossings[i + 1].x - 0.5));
      if (end > first) boxes.push_back(pixman_box32_t{first, static_cast<int32_t>(y), end, static_cast<int32_t>(y + 1)});
    }
  }
  return boxes;
}

}  // namespace

pixman_region32_t* RegionOf(HRGN handle) {
  RegionObject* object = RegionObjectOf(handle);
  return object != nullptr ? &object->region : nullptr;
}

HRGN NewRegionObject() { return static_cast<HRGN>(Table().Add(std::make_unique<RegionObject>())); }

void SetRegionOwnedByWindow(HRGN handle, bool owned) {
  if (RegionObject* object = RegionObjectOf(handle)) object->ownedByWindow = owned;
}

void FreeRegionObject(HRGN handle) { Table().Remove(handle); }

int RegionKind(const pixman_region32_t* region) {
  const int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(region));
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

const LOGFONTW* FontOf(HFONT handle) {
  const GdiObject* object = Table().Find(handle);
  if (object == nullptr) return nullptr;
  const auto* font = std::get_if<FontObject>(object);
  return font != nullptr ? &font->logFont : nullptr;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  HRGN handle = NewRegionObject();
  SetToRect(RegionOf(handle), left, top, right, bottom);
  return handle;
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (rect == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
  pixman_region32_t* region = RegionOrFail(handle);
  if (region == nullptr) return FALSE;
  SetToRect(region, left, top, right, bottom);
  return TRUE;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (points == nullptr || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<pixman_box32_t> boxes = RasterizePolygon(points, count, fillMode);
  HRGN handle = NewRegionObject();
  pixman_region32_t* region = RegionOf(handle);
  pixman_region32_fini(region);
  pixman_region32_init_rects(region, boxes.data(), static_cast<int>(boxes.size()));
  return handle;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
  pixman_region32_t* target = RegionOrFail(destination);
  pixman_region32_t* a = RegionOrFail(source1);
  if (target == nullptr || a == nullptr) return ERROR;
  if (mode == RGN_COPY) {
    pixman_region32_copy(target, a);
    return RegionKind(target);
  }
  pixman_region32_t* b = RegionOrFail(source2);
  if (b == nullptr) return ERROR;
  switch (mode) {
    case RGN_AND: pixman_region32_intersect(target, a, b); break;
    case RGN_OR: pixman_region32_union(target, a, b); break;
    case RGN_DIFF: pixman_region32_subtract(target, a, b); break;
    case RGN_XOR: {
      pixman_region32_t both, either;
      pixman_region32_init(&both);
      pixman_region32_init(&either);
      pixman_region32_intersect(&both, a, b);
      pixman_region32_union(&either, a, b);
      pixman_region32_subtract(target, &either, &both);
      pixman_region32_fini(&both);
      pixman_region32_fini(&either);
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  return RegionKind(target);
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  pixman_region32_t* region = RegionOrFail(handle);
  if (region == nullptr) return ERROR;
  pixman_region32_translate(region, dx, dy);
  return RegionKind(region);
}

int GetRgnBox(HRGN handle, LPRECT box) {
  pixman_region32_t* region = RegionOrFail(handle);
  if (region == nullptr || box == nullptr) return ERROR;
  if (!pixman_region32_not_empty(region)) {
    *box = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  const pixman_box32_t* extents = pixman_region32_extents(region);
  *box = RECT{extents->x1, extents->y1, extents->x2, extents->y2};
  return RegionKind(region);
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  pixman_region32_t* region = RegionOrFail(handle);
  return region != nullptr && pixman_region32_contains_point(region, x, y, nullptr);
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
  pixman_region32_t* region = RegionOrFail(handle);
  if (region == nullptr || rect == nullptr) return FALSE;
  pixman_box32_t box{rect->left, rect->top, rect->right, rect->bottom};
  return pixman_region32_contains_rectangle(region, &box) != PIXMAN_REGION_OUT;
}

BOOL EqualRgn(HRGN handle1, HRGN handle2) {
  pixman_region32_t* a = RegionOrFail(handle1);
  pixman_region32_t* b = RegionOrFail(handle2);
  if (a == nullptr || b == nullptr) return ERROR;
  return pixman_region32_equal(a, b) ? TRUE : FALSE;
}

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
  if (logFont == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HFONT>(Table().Add(FontObject{*logFont}));
}

int GetObjectW(HANDLE object, int size, LPVOID buffer) {
  return Table().Visit(object, [&](const GdiObject* found) {
    const auto* font = found != nullptr ? std::get_if<FontObject>(found) : nullptr;
    if (font == nullptr) return 0;
    if (buffer == nullptr) return static_cast<int>(sizeof(LOGFONTW));
    const int n = std::min<int>(size, sizeof(LOGFONTW));
    std::memcpy(buffer, &font->logFont, static_cast<std::size_t>(n));
    return n;
  });
}

BOOL DeleteObject(HGDIOBJ object) {
  // A window's region belongs to the window until the window lets it go.
  return Table().RemoveIf(object, [](const GdiObject& found) {
    const auto* region = std::get_if<std::unique_ptr<RegionObject>>(&found);
    return region == nullptr || !(*region)->ownedByWindow;
  });
}
