// Asks GTK's icon theme for an icon the way a desktop's menu does, and loads it: prints the
// file it was found in and the size it loaded at. Ends with 1 when the theme knows no such
// icon (GTK leaves out SVG files when gdk-pixbuf has no SVG loader), 2 when it cannot load
// it. The theme reads XDG_DATA_DIRS; no display is needed.
//
// Usage: tsr-icon-lookup NAME SIZE

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s NAME SIZE\n", argv[0]);
    return 64;
  }
  const int size = std::atoi(argv[2]);
  // A theme of its own rather than the screen's: the default one needs a display.
  GtkIconTheme* theme = gtk_icon_theme_new();
  GtkIconInfo* info = gtk_icon_theme_lookup_icon(theme, argv[1], size, GtkIconLookupFlags(0));
  if (info == nullptr) {
    std::fprintf(stderr, "the icon theme has no icon %s\n", argv[1]);
    return 1;
  }
  std::printf("%s\n", gtk_icon_info_get_filename(info));
  GError* error = nullptr;
  GdkPixbuf* pixbuf = gtk_icon_info_load_icon(info, &error);
  if (pixbuf == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", gtk_icon_info_get_filename(info), error->message);
    return 2;
  }
  std::printf("%dx%d\n", gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf));
  g_object_unref(pixbuf);
  g_object_unref(info);
  g_object_unref(theme);
  return 0;
}
