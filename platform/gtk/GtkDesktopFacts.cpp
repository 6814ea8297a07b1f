#include "gtk/GtkDesktopFacts.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "gtk/TextConversion.h"
#include "gtk/FontDescription.h"

namespace gtkui {

namespace {

constexpr int kFallbackDpi = 96;
constexpr char kFallbackFont[] = "Sans 10";

// Xft.dpi, or 96 when the screen has none (-1).
int ScreenDpi() {
  const double resolution = gdk_screen_get_resolution(gdk_screen_get_default());
  return resolution > 0 ? static_cast<int>(std::lround(resolution)) : kFallbackDpi;
}

std::string FontNameSetting() {
  gchar* name = nullptr;
  g_object_get(gtk_settings_get_default(), "gtk-font-name", &name, nullptr);
  std::string text = name != nullptr && *name != '\0' ? name : kFallbackFont;
  g_free(name);
  return text;
}

GdkMonitor* PrimaryMonitor() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  // Without a primary monitor (an X server that names none) the first one stands in.
  return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

RECT RectOf(const GdkRectangle& r) { return RECT{r.x, r.y, r.x + r.width, r.y + r.height}; }

// The theme's scroll bars across their length, as a scrolled window shows them when they
// take room of their own (a scroll bar by itself is styled without its slider's size).
SIZE ScrollBarThickness() {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  g_object_ref_sink(scrolled);
  gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scrolled), FALSE);
  int minimum = 0;
  int width = 0;
  int height = 0;
  gtk_widget_get_preferred_width(gtk_scrolled_window_get_vscrollbar(GTK_SCROLLED_WINDOW(scrolled)), &minimum, &width);
  gtk_widget_get_preferred_height(gtk_scrolled_window_get_hscrollbar(GTK_SCROLLED_WINDOW(scrolled)), &minimum, &height);
  gtk_widget_destroy(scrolled);
  g_object_unref(scrolled);
  return SIZE{std::max(1, width), std::max(1, height)};
}

PangoFontDescription* DescriptionOf(const LOGFONTW& font, double pixels) {
  PangoFontDescription* description = pango_font_description_new();
  const std::string face = Utf8Of(font.lfFaceName);
  pango_font_description_set_family(description, face.empty() ? "Sans" : face.c_str());
  pango_font_description_set_absolute_size(description, pixels * PANGO_SCALE);
  pango_font_description_set_weight(description,
                                    static_cast<PangoWeight>(font.lfWeight > 0 ? std::clamp<LONG>(font.lfWeight, 100, 1000) : 400));
  pango_font_description_set_style(description, font.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

struct Measured {
  int ascent;
  int descent;
  int lettersWidth;  // of A-Z and a-z together
};

Measured Measure(PangoContext* context, const LOGFONTW& font, double pixels) {
  PangoFontDescription* description = DescriptionOf(font, pixels);
  PangoFontMetrics* metrics = pango_context_get_metrics(context, description, nullptr);
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, description);
  pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, nullptr);
  Measured measured{PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(metrics)),
                    PANGO_PIXELS_CEIL(pango_font_metrics_get_descent(metrics)), width};
  g_object_unref(layout);
  pango_font_metrics_unref(metrics);
  pango_font_description_free(description);
  return measured;
}

}  // namespace

GtkDesktopFacts::GtkDesktopFacts() : facts_(ReadFacts()) {
  GtkSettings* settings = gtk_settings_get_default();
  fontHandler_ = g_signal_connect(settings, "notify::gtk-font-name", G_CALLBACK(&GtkDesktopFacts::OnSettingChanged), this);
  dpiHandler_ = g_signal_connect(settings, "notify::gtk-xft-dpi", G_CALLBACK(&GtkDesktopFacts::OnSettingChanged), this);
}

GtkDesktopFacts::~GtkDesktopFacts() {
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return;
  if (fontHandler_ != 0) g_signal_handler_disconnect(settings, fontHandler_);
  if (dpiHandler_ != 0) g_signal_handler_disconnect(settings, dpiHandler_);
}

GtkDesktopFacts::Facts GtkDesktopFacts::ReadFacts() {
  Facts facts;
  facts.dpi = ScreenDpi();
  facts.messageFont = LogFontOfFontName(FontNameSetting(), facts.dpi);
  GdkMonitor* monitor = PrimaryMonitor();
  GdkRectangle geometry{0, 0, 1024, 768};
  GdkRectangle work = geometry;
  if (monitor != nullptr) {
    gdk_monitor_get_geometry(monitor, &geometry);
    gdk_monitor_get_workarea(monitor, &work);
  }
  facts.screenSize = SIZE{geometry.width, geometry.height};
  facts.workArea = RectOf(work);
  const SIZE scrollBars = ScrollBarThickness();
  facts.scrollBarWidth = scrollBars.cx;
  facts.scrollBarHeight = scrollBars.cy;
  return facts;
}

void GtkDesktopFacts::OnSettingChanged(void*, void*, void* self) {
  auto* facts = static_cast<GtkDesktopFacts*>(self);
  {
    std::lock_guard guard(facts->lock_);
    facts->facts_ = ReadFacts();
    facts->measured_.clear();
  }
  BroadcastSettingChange(SPI_SETNONCLIENTMETRICS, u"WindowMetrics");
}

LOGFONTW GtkDesktopFacts::MessageFont() const {
  std::lock_guard guard(lock_);
  return facts_.messageFont;
}

int GtkDesktopFacts::Dpi() const {
  std::lock_guard guard(lock_);
  return facts_.dpi;
}

SIZE GtkDesktopFacts::ScreenSize() const {
  std::lock_guard guard(lock_);
  return facts_.screenSize;
}

RECT GtkDesktopFacts::WorkArea() const {
  std::lock_guard guard(lock_);
  return facts_.workArea;
}

int GtkDesktopFacts::ScrollBarWidth() const {
  std::lock_guard guard(lock_);
  return facts_.scrollBarWidth;
}

int GtkDesktopFacts::ScrollBarHeight() const {
  std::lock_guard guard(lock_);
  return facts_.scrollBarHeight;
}

// As the platform measures a dialog font: the cell is ascent plus descent, the average width
// that of the 52 letters, rounded the dialog manager's way ((width / 26 + 1) / 2). A positive
// height asks for that cell height, so the font is scaled until its cell has it.
core::FontMetrics GtkDesktopFacts::MeasureFont(const LOGFONTW& font) const {
  const auto key = std::make_tuple(std::u16string(font.lfFaceName), font.lfHeight, font.lfWeight, font.lfItalic);
  {
    std::lock_guard guard(lock_);
    auto found = measured_.find(key);
    if (found != measured_.end()) return found->second;
  }
  PangoContext* context = gdk_pango_context_get();
  const LONG height = font.lfHeight != 0 ? font.lfHeight : MessageFont().lfHeight;
  double pixels = std::abs(height);
  Measured measured = Measure(context, font, pixels);
  if (height > 0 && measured.ascent + measured.descent > 0) {
    pixels = pixels * pixels / (measured.ascent + measured.descent);
    measured = Measure(context, font, pixels);
  }
  g_object_unref(context);
  const core::FontMetrics metrics{(measured.lettersWidth / 26 + 1) / 2, std::max(1, measured.ascent + measured.descent)};
  std::lock_guard guard(lock_);
  measured_.emplace(key, metrics);
  return metrics;
}

}  // namespace gtkui
