// The desktop as GTK sees it: the message font from the gtk-font-name setting, dots per inch
// from the screen's font resolution, screen and work area of the primary monitor, scroll-bar
// sizes of the theme, and font metrics measured with Pango. Made on the user-interface thread
// after GTK is initialised; it follows later changes of the font and resolution settings and
// tells the platform's windows (WM_SETTINGCHANGE).
#pragma once

#include <map>
#include <mutex>
#include <tuple>

#include "core/user/DesktopFacts.h"

namespace gtkui {

class GtkDesktopFacts : public core::DesktopFacts {
 public:
  GtkDesktopFacts();
  ~GtkDesktopFacts() override;

  LOGFONTW MessageFont() const override;
  int Dpi() const override;
  SIZE ScreenSize() const override;
  RECT WorkArea() const override;
  int ScrollBarWidth() const override;
  int ScrollBarHeight() const override;
  core::FontMetrics MeasureFont(const LOGFONTW& font) const override;

 private:
  struct Facts {
    LOGFONTW messageFont{};
    int dpi = 96;
    SIZE screenSize{};
    RECT workArea{};
    int scrollBarWidth = 0;
    int scrollBarHeight = 0;
  };
  // Reads everything afresh from GTK.
  static Facts ReadFacts();
  static void OnSettingChanged(void* settings, void* property, void* self);

  mutable std::mutex lock_;
  Facts facts_;
  mutable std::map<std::tuple<std::u16string, LONG, LONG, BYTE>, core::FontMetrics> measured_;
  unsigned long fontHandler_ = 0;
  unsigned long dpiHandler_ = 0;
};

}  // namespace gtkui
