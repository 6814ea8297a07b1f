// Device contexts of windows and of the screen. A context's surface is the window's client
// area (the whole window for GetWindowDC, the screen for GetDC(nullptr)); its clip region, when
// it has one, lies within that surface.
#include "core/gdi/GdiObjects.h"

#include <memory>

#include "core/kernel/HandleTable.h"
#include "core/user/DesktopFacts.h"
#include "core/user/WindowManager.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace {

struct DeviceContext {
  enum class Kind { Client, Window, Screen, Memory } kind;
  HWND window;
  bool clipped = false;
  pixman_region32_t clip;
  // Null for the desktop's message font, which every context starts with.
  HFONT font = nullptr;
  DeviceContext(Kind k, HWND w) : kind(k), window(w) { pixman_region32_init(&clip); }
  ~DeviceContext() { pixman_region32_fini(&clip); }
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;
};

using Contexts = core::HandleTable<HDC, std::unique_ptr<DeviceContext>>;

Contexts& AllContexts() {
  static auto* contexts = Contexts::Make(0x00700004, 4, ERROR_INVALID_HANDLE);
  return *contexts;
}

HDC Add(DeviceContext::Kind kind, HWND window) {
  return AllContexts().Add(std::make_unique<DeviceContext>(kind, window));
}

DeviceContext* Find(HDC handle) {
  std::unique_ptr<DeviceContext>* dc = AllContexts().Find(handle);
  return dc != nullptr ? dc->get() : nullptr;
}

DeviceContext* FindOrFail(HDC handle) {
  std::unique_ptr<DeviceContext>* dc = AllContexts().Lookup(handle);
  return dc != nullptr ? dc->get() : nullptr;
}

RECT Surface(const DeviceContext& dc) {
  const Window* window = FindWindowObject(dc.window);
  switch (dc.kind) {
    case DeviceContext::Kind::Client:
      if (window == nullptr) return RECT{0, 0, 0, 0};
      return RECT{0, 0, window->client.right - window->client.left, window->client.bottom - window->client.top};
    case DeviceContext::Kind::Window:
      if (window == nullptr) return RECT{0, 0, 0, 0};
      return RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    case DeviceContext::Kind::Memory:
      return RECT{0, 0, 1, 1};
    case DeviceContext::Kind::Screen:
    default: {
      const SIZE screen = core::CurrentDesktopFacts()->ScreenSize();
      return RECT{0, 0, screen.cx, screen.cy};
    }
  }
}

void SurfaceRegion(const DeviceContext& dc, pixman_region32_t* region) {
  const RECT s = Surface(dc);
  pixman_region32_fini(region);
  if (s.right > s.left && s.bottom > s.top)
    pixman_region32_init_rect(region, s.left, s.top, static_cast<unsigned>(s.right - s.left),
                              static_cast<unsigned>(s.bottom - s.top));
  else
    pixman_region32_init(region);
}

// A context of the window's `kind` of surface; no window means the screen.
HDC AddForWindow(DeviceContext::Kind kind, HWND window) {
  if (window == nullptr) return Add(DeviceContext::Kind::Screen, nullptr);
  if (WindowOf(window) == nullptr) return nullptr;
  return Add(kind, window);
}

// The font object that stands for the message font in a context that has had no other.
HFONT StartingFont() {
  static const HFONT font = [] {
    const LOGFONTW messageFont = core::CurrentDesktopFacts()->MessageFont();
    return CreateFontIndirectW(&messageFont);
  }();
  return font;
}

LOGFONTW SelectedFont(const DeviceContext& dc) {
  const LOGFONTW* font = dc.font != nullptr ? FontOf(dc.font) : nullptr;
  return font != nullptr ? *font : core::CurrentDesktopFacts()->MessageFont();
}

}  // namespace

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = FindOrFail(dc);
  if (context == nullptr) return nullptr;
  const HFONT font = static_cast<HFONT>(object);
  if (FontOf(font) == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const HFONT previous = context->font != nullptr ? context->font : StartingFont();
  context->font = font;
  return previous;
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
  const DeviceContext* context = FindOrFail(dc);
  if (context == nullptr) return FALSE;
  if (metrics == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LOGFONTW font = SelectedFont(*context);
  const core::FontMetrics measured = core::CurrentDesktopFacts()->MeasureFont(font);
  *metrics = TEXTMETRICW{};
  metrics->tmHeight = measured.height;
  metrics->tmAveCharWidth = measured.averageCharWidth;
  metrics->tmWeight = font.lfWeight;
  metrics->tmItalic = font.lfItalic;
  metrics->tmCharSet = font.lfCharSet;
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
  const DeviceContext* context = FindOrFail(dc);
  if (context == nullptr) return FALSE;
  if (size == nullptr || count < 0 || (text == nullptr && count > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const core::FontMetrics measured = core::CurrentDesktopFacts()->MeasureFont(SelectedFont(*context));
  *size = SIZE{count * measured.averageCharWidth, measured.height};
  return TRUE;
}

HDC GetDC(HWND window) { return AddForWindow(DeviceContext::Kind::Client, window); }

HDC GetWindowDC(HWND window) { return AddForWindow(DeviceContext::Kind::Window, window); }

int ReleaseDC(HWND window, HDC dc) {
  // A memory context is deleted, never released.
  return AllContexts().RemoveIf(dc, [](const std::unique_ptr<DeviceContext>& context) {
    return context->kind != DeviceContext::Kind::Memory;
  }) ? 1 : 0;
}

HDC CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && FindOrFail(dc) == nullptr) return nullptr;
  return Add(DeviceContext::Kind::Memory, nullptr);
}

BOOL DeleteDC(HDC dc) { return AllContexts().Remove(dc); }

HWND WindowFromDC(HDC dc) {
  const DeviceContext* context = Find(dc);
  return context != nullptr ? context->window : nullptr;
}

int GetDeviceCaps(HDC dc, int index) {
  if (FindOrFail(dc) == nullptr) return 0;
  const std::shared_ptr<const core::DesktopFacts> held = core::CurrentDesktopFacts();
  const core::DesktopFacts& facts = *held;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return facts.Dpi();
    case HORZRES: return facts.ScreenSize().cx;
    case VERTRES: return facts.ScreenSize().cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
  }
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
  DeviceContext* context = FindOrFail(dc);
  if (context == nullptr) return ERROR;
  pixman_region32_t surface;
  pixman_region32_init(&surface);
  SurfaceRegion(*context, &surface);
  int kind = ERROR;
  if (region == nullptr) {
    if (mode != RGN_COPY) {
      pixman_region32_fini(&surface);
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
    }
    context->clipped = false;
    kind = RegionKind(&surface);
  } else {
    pixman_region32_t* source = RegionOf(region);
    if (source == nullptr) {
      pixman_region32_fini(&surface);
      SetLastError(ERROR_INVALID_HANDLE);
      return ERROR;
    }
    pixman_region32_t current;
    pixman_region32_init(&current);
    pixman_region32_copy(&current, context->clipped ? &context->clip : &surface);
    switch (mode) {
      case RGN_AND: pixman_region32_intersect(&context->clip, &current, source); break;
      case RGN_OR: pixman_region32_union(&context->clip, &current, source); break;
      case RGN_DIFF: pixman_region32_subtract(&context->clip, &current, source); break;
      case RGN_COPY: pixman_region32_copy(&context->clip, source); break;
      case RGN_XOR: {
        pixman_region32_t both, either;
        pixman_region32_init(&both);
        pixman_region32_init(&either);
        pixman_region32_intersect(&both, &current, source);
        pixman_region32_union(&either, &current, source);
        pixman_region32_subtract(&context->clip, &either, &both);
        pixman_region32_fini(&both);
        pixman_region32_fini(&either);
        break;
      }
      default:
        pixman_region32_fini(&current);
        pixman_region32_fini(&surface);
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    pixman_region32_intersect(&context->clip, &context->clip, &surface);
    context->clipped = true;
    pixman_region32_fini(&current);
    kind = RegionKind(&context->clip);
  }
  pixman_region32_fini(&surface);
  return kind;
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int GetClipRgn(HDC dc, HRGN region) {
  DeviceContext* context = FindOrFail(dc);
  pixman_region32_t* target = RegionOf(region);
  if (context == nullptr || target == nullptr) return -1;
  if (!context->clipped) return 0;
  pixman_region32_copy(target, &context->clip);
  return 1;
}

int GetClipBox(HDC dc, LPRECT rect) {
  DeviceContext* context = FindOrFail(dc);
  if (context == nullptr || rect == nullptr) return ERROR;
  pixman_region32_t visible;
  pixman_region32_init(&visible);
  SurfaceRegion(*context, &visible);
  if (context->clipped) pixman_region32_intersect(&visible, &visible, &context->clip);
  const int kind = RegionKind(&visible);
  if (kind == NULLREGION) {
    *rect = RECT{0, 0, 0, 0};
  } else {
    const pixman_box32_t* box = pixman_region32_extents(&visible);
    *rect = RECT{box->x1, box->y1, box->x2, box->y2};
  }
  pixman_region32_fini(&visible);
  return kind;
}
